#pragma once

#include "foundation/CompGrid.h"

#include <QDialog>
#include <QPointer>
#include <QVector>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

// "Sortera": the user's choice of up to three sort keys for a grid. One
// shared instance serves every grid. The caller sets the grid, the registry
// key (none: nothing is read or stored) and whether the date style is offered,
// shows the dialog modally and on OK hands GetSortRecord to the grid's Sort.
//
// The nine choices are read from the key when the dialog is shown and written
// back (as the texts shown) whenever it closes, OK or not. The date mode is
// switched off at every close.
class TfrmSort : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSort(QWidget *parent = nullptr);

    // The grid whose titles are offered; borrowed, may be null.
    void SetGrid(TComplexGrid *grid);
    // The full key path, e.g. "\Software\Tullo\Corvale\Settings\MainSort".
    void SetRegistryKey(const QString &key);
    // Offers "Datum" besides "Alfabetiskt" and "Numeriskt" until the next close.
    void SetDateMode(bool on);
    bool DateMode() const { return m_dateMode; }

    // The chosen keys as grid columns: key 1 always names a column (while
    // the grid has a titled column), keys 2 and 3 are -1 for the empty
    // choice. Case flags are never set.
    TSortRecord GetSortRecord() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct TKeyControls
    {
        QFrame *panel = nullptr;
        QComboBox *column = nullptr;
        QComboBox *mode = nullptr;
        QComboBox *direction = nullptr;
    };

    void FormShow();
    void FormClose();
    void SortColChange();
    // The grid column of a choice in the column list of key `key` (0..2);
    // -1 for the empty choice.
    int ColumnOfChoice(int key) const;

    QPointer<TComplexGrid> m_grid;
    QString m_registryKey;
    bool m_dateMode = false;
    TKeyControls m_keys[3];
    // The grid column of every offered title, in list order (without the
    // empty entry of keys 2 and 3).
    QVector<int> m_columns;
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
};

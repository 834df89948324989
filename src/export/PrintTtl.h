#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class TStringGrid;

// The print-title dialog "Utskriftstitel": proposes titles for a list or a
// chart from what its rows have in common, takes a title of the user's own
// (at most 50 characters; the titles used while the program runs are kept
// in its list) and, for lists, whether empty columns are printed. One shared
// instance serves the program (TCorvaleForms::PrintTitleDialog()).
class TfrmPrintTitle : public QDialog
{
    Q_OBJECT

public:
    // Suggestions and own titles are shorter than this.
    static constexpr int MaxTitleLength = 50;

    explicit TfrmPrintTitle(QWidget *parent = nullptr);
    ~TfrmPrintTitle() override;

    // Suggestions from the grid's columns from the first non-fixed one up to
    // columnCount - 1 (callers pass the column count less one to leave out
    // a trailing key column): the proposal, each value a column holds in
    // every row, their pairs and triples joined by " - ", and for a column
    // of exactly two values the two joined. Each is shorter than 50
    // characters. The empty-columns check box is shown, and enabled only
    // when some column of the grid is empty. The first suggestion is
    // selected and copied into the own text.
    void SuggestFromGrid(const TStringGrid *grid, int columnCount, const QString &proposal);
    // The proposal (when not blank) followed by the list's items; nothing
    // selected, the own text kept, the check box hidden and unchecked.
    void SuggestFromList(const QStringList *list, const QString &proposal);

    // The own text when it is not blank; else the selected suggestion; else
    // the proposal.
    QString GetTitle() const;
    bool PrintEmptyColumns() const;
    QString DefaultTitle() const { return m_defaultTitle; }
    bool HasEmptyColumn() const { return m_hasEmptyColumn; }
    QStringList Suggestions() const;

    // Accepts (OK) or rejects (the other button); either way the title is
    // first added to the own-text list when it is not there yet.
    void btnOKClick(QPushButton *sender);

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void RememberTitle();
    void lstbxSuggestionsClick();

    QString m_defaultTitle;
    bool m_hasEmptyColumn = false;

    QListWidget *m_lstbxSuggestions = nullptr;
    QComboBox *m_cmbbxOwnText = nullptr;
    QCheckBox *m_chkbxPrintEmpty = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
};

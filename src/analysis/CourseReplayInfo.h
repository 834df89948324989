#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;
class QLineEdit;
class TReplayItem;

// "Uppspelningsinformation": one competitor of the replay, modal. Shows the
// date and total time, the distance behind the leader at the last ranking
// and every split time, each with "Beräknad" ticked where the replay
// interpolated it. Keeps its place under `ReplayInfoWindow`.
class TfrmReplayInfo : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmReplayInfo(const TReplayItem &item, QWidget *parent = nullptr);
    ~TfrmReplayInfo() override;

    QString DateTimeText() const;
    QString BehindText() const;
    // The texts of the split fields shown and their "Beräknad" boxes.
    QStringList SplitTexts() const;
    QList<bool> Computed() const;
    bool NoSplitsShown() const;

private:
    QLabel *m_lblDateTime = nullptr;
    QLabel *m_lblBehind = nullptr;
    QLabel *m_lblNoSplits = nullptr;
    QList<QLineEdit *> m_splits;
    QList<QCheckBox *> m_computed;
};

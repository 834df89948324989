#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;
class TReportBusy;
class TReportDocument;
class TPreviewPage;

// The preview window "Förhandsgranska": one page of a report at a time, at
// a zoom that fits the page or at 1 to 300 percent. Pages are painted as
// they are shown, so a report of any length shows its first page at once.
//
// Keys (the window sees them before its controls): Escape closes, Page Up
// and Page Down go to the previous and next page, Home and End to the first
// and last; with Ctrl, Page Up goes to the last page and Page Down to the
// first.
class TfrmPreview : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPreview(QWidget *parent = nullptr);
    ~TfrmPreview() override;

    // The report to show, borrowed until the next call or the window's end.
    // Selects the first page and the zoom that fits the page.
    void SetReport(const TReportDocument *document);
    // SetReport, then the window maximised and modal until it is closed.
    void ShowReport(const TReportDocument &document);

    // The page shown (1-based; 0 without a report) and the page count.
    int PageNumber() const { return m_document ? m_page + 1 : 0; }
    int PageCount() const;
    // The zoom in percent, and whether it follows the window's size.
    int Zoom() const { return m_zoom; }
    bool FitsPage() const { return m_fit; }
    QString StatusText() const;

    void FirstPage();
    void PreviousPage();
    void NextPage();
    void LastPage();

    // Item 0 fits the page; another item sets its percentage.
    void cmbbxZoomChange(int index);
    // Enter in the zoom box: a typed whole number becomes the zoom, at least
    // 1 and at most 300; anything else fits the page and selects item 0.
    void cmbbxZoomKeyPress();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void done(int result) override;

private:
    // True when the key was one of the window's.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void qrprvCtrlPageAvailable();
    void GoTo(int page);
    void FitPage();
    void SetZoom(int percent);
    void UpdateControls();
    void PagePainted();

    const TReportDocument *m_document = nullptr;
    int m_page = 0;
    int m_zoom = 100;
    bool m_fit = true;
    // From a report's arrival until its first page has been painted.
    std::unique_ptr<TReportBusy> m_busy;

    QToolButton *m_sbtnFirst = nullptr;
    QToolButton *m_sbtnPrev = nullptr;
    QToolButton *m_sbtnNext = nullptr;
    QToolButton *m_sbtnLast = nullptr;
    QComboBox *m_cmbbxZoom = nullptr;
    QPushButton *m_btnClose = nullptr;
    QScrollArea *m_qrprvCtrl = nullptr;
    TPreviewPage *m_pageView = nullptr;
    QLabel *m_status = nullptr;
};

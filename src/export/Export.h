#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;
class TCorvaleApp;

// "Exportera aktiviteter": the choices of an export of the found activities
// (text with a separator, or HTML, and the file), the run with a progress
// bar and its result. Modal; the main window makes it once and keeps it.
// The choices are read from the per-user store when the window is made and
// written back when it is freed.
class TfrmExport : public QDialog
{
    Q_OBJECT

public:
    // The title of every exported file.
    static constexpr const char *ExportTitle = "Exporterat ifrån Ternvall 2.3.0";
    static constexpr int HelpTopic = 68;

    explicit TfrmExport(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmExport() override;

    // The handlers, public so that the tests can drive them.
    void chkbxHTMLClick();
    void bbtnFolderClick();
    void btnOKClick();
    void btnHelpClick();

    QProgressBar *ProgressBar() const { return m_pgsbrExport; }
    QFileDialog *SaveDialog() const { return m_svdlgExport; }
    // The text of the last result shown, for the tests.
    QString LastResult() const { return m_lastResult; }

private:
    void FormCreate();
    void FormDestroy();
    void ReadChoices();
    void WriteChoices();
    int SeparatorIndex() const;
    void SetSeparatorIndex(int index);
    // Tells the user why the file cannot be written; false when it cannot.
    bool CheckFileName();

    TCorvaleApp &m_app;
    QGroupBox *m_rgSeparator = nullptr;
    QButtonGroup *m_separators = nullptr;
    QCheckBox *m_chbxReplace = nullptr;
    QLineEdit *m_edtReplace = nullptr;
    QCheckBox *m_chkbxHTML = nullptr;
    QLabel *m_lblFileName = nullptr;
    QLineEdit *m_edtFilename = nullptr;
    QToolButton *m_bbtnFolder = nullptr;
    QFileDialog *m_svdlgExport = nullptr;
    QProgressBar *m_pgsbrExport = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
    QPushButton *m_btnHelp = nullptr;
    QString m_startFolder;
    QString m_lastResult;
};

#include "foundation/MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QStyle>

#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr int ClientWidth = 343;
constexpr int ClientHeight = 130;
constexpr int InternalErrorClientHeight = 155;
constexpr int ButtonStripHeight = 40;   // the part below the panel
constexpr int ButtonTopFromBottom = 36; // buttons' top edge above the bottom
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int MinimumGap = 10;
constexpr int IconSize = 32;
constexpr QPoint IconPos(8, 8);
constexpr QRect TextRect(64, 8, 265, 82);
constexpr QPoint CodeCaptionPos(64, 74);
constexpr QPoint CodePos(120, 74);
constexpr int WideClientWidth = 560; // for a text the usual box cannot hold
constexpr int TextRightMargin = ClientWidth - TextRect.right() - 1;

struct TKindLook
{
    QString caption;
    QStyle::StandardPixmap icon;
};

TKindLook LookOf(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Warning:
        return {QStringLiteral("Varning"), QStyle::SP_MessageBoxWarning};
    case TMessageKind::Error:
        return {QStringLiteral("Fel"), QStyle::SP_MessageBoxCritical};
    case TMessageKind::Information:
        return {QStringLiteral("Information"), QStyle::SP_MessageBoxInformation};
    case TMessageKind::Question:
        return {QStringLiteral("Fråga"), QStyle::SP_MessageBoxQuestion};
    case TMessageKind::InternalError:
        break;
    }
    return {QStringLiteral("Internt fel"), QStyle::SP_MessageBoxCritical};
}

struct TButtonDef
{
    TMessageButton button;
    const char *objectName;
    QString caption;
    quint16 result;
};

// Left to right.
const std::vector<TButtonDef> &ButtonDefs()
{
    static const std::vector<TButtonDef> defs = {
        {TMessageButton::Yes, "btnYes", QStringLiteral("&Ja"), TMessageResult::Yes},
        {TMessageButton::No, "btnNo", QStringLiteral("&Nej"), TMessageResult::No},
        {TMessageButton::OK, "btnOK", QStringLiteral("&Ok"), TMessageResult::OK},
        {TMessageButton::Cancel, "btnCancel", QStringLiteral("&Avbryt"), TMessageResult::Cancel},
    };
    return defs;
}

std::optional<quint16> EscapeResult(TMessageButtons buttons)
{
    if (buttons.testFlag(TMessageButton::Cancel))
        return TMessageResult::Cancel;
    if (buttons == TMessageButton::OK)
        return TMessageResult::OK;
    if (buttons == (TMessageButton::Yes | TMessageButton::No))
        return TMessageResult::No;
    return std::nullopt;
}

class TMessageDialog final : public QDialog
{
public:
    TMessageDialog(QWidget *parent, std::optional<quint16> escapeResult)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                              | Qt::MSWindowsFixedSizeDialogHint),
          m_escapeResult(escapeResult)
    {
    }

    // Everything that rejects the dialog, above all the window's close
    // button, answers cancel.
    void reject() override { done(TMessageResult::Cancel); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            if (m_escapeResult)
                done(*m_escapeResult);
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    std::optional<quint16> m_escapeResult;
};

} // namespace

quint16 ShowMessageBox(const QString &text, TMessageKind kind, TMessageButtons buttons,
                       const QString &code)
{
    const TKindLook look = LookOf(kind);
    const bool showsCode = kind == TMessageKind::InternalError;

    std::vector<const TButtonDef *> present;
    for (const TButtonDef &def : ButtonDefs()) {
        if (buttons.testFlag(def.button))
            present.push_back(&def);
    }
    const int count = int(present.size());
    int clientWidth = ClientWidth;
    int height = showsCode ? InternalErrorClientHeight : ClientHeight;
    QRect memoRect = TextRect;
    if (showsCode)
        memoRect.setBottom(CodeCaptionPos.y() - 5); // keep the code line clear

    // A text the box cannot hold makes the box wider and then taller, so
    // that all of it is seen without scrolling; the usual size stays for
    // every text that fits it.
    auto textHeight = [&text](int textWidth) {
        QTextDocument document;
        document.setDefaultFont(QApplication::font("QPlainTextEdit"));
        document.setDocumentMargin(0);
        QTextOption option = document.defaultTextOption();
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        document.setDefaultTextOption(option);
        document.setPlainText(text);
        document.setTextWidth(textWidth);
        return int(std::ceil(document.size().height())) + 4;
    };
    int needed = textHeight(memoRect.width());
    if (needed > memoRect.height()) {
        clientWidth = WideClientWidth;
        memoRect.setWidth(clientWidth - memoRect.left() - TextRightMargin);
        needed = textHeight(memoRect.width());
    }
    if (needed > memoRect.height()) {
        int room = needed - memoRect.height();
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            room = std::min(room, std::max(0, screen->availableGeometry().height() * 3 / 4 - height));
        height += room;
        memoRect.setHeight(memoRect.height() + room);
    }
    const int gap = std::max(MinimumGap, (clientWidth - ButtonWidth * count) / (count + 1));
    const int width = std::max(clientWidth, count * (gap + ButtonWidth + 1));

    // The active window becomes the parent so the box stays in front of it;
    // it may go away while the box is open, which the QPointer notices.
    QPointer<TMessageDialog> dialog = new TMessageDialog(QApplication::activeWindow(), EscapeResult(buttons));
    dialog->setObjectName(QStringLiteral("frmMessage"));
    dialog->setWindowTitle(look.caption);
    dialog->setFixedSize(width, height);

    auto *panel = new QFrame(dialog);
    panel->setObjectName(QStringLiteral("pnlMessage"));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setGeometry(0, 0, width, height - ButtonStripHeight);

    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setGeometry(QRect(IconPos, QSize(IconSize, IconSize)));
    icon->setPixmap(dialog->style()->standardIcon(look.icon, nullptr, dialog).pixmap(IconSize, IconSize));

    // A memo rather than a label so that a long text can still be scrolled;
    // it is painted in the panel's colour and never takes the focus.
    auto *memo = new QPlainTextEdit(panel);
    memo->setObjectName(QStringLiteral("moText"));
    memo->setGeometry(memoRect);
    memo->setFrameShape(QFrame::NoFrame);
    memo->document()->setDocumentMargin(0); // text flush with "Felkod:"
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setTextInteractionFlags(Qt::NoTextInteraction);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->setContextMenuPolicy(Qt::NoContextMenu);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memoPalette = memo->palette();
    memoPalette.setColor(QPalette::Base, panel->palette().color(QPalette::Window));
    memo->setPalette(memoPalette);
    memo->setPlainText(text);

    if (showsCode) {
        auto *codeCaption = new QLabel(QStringLiteral("Felkod:"), panel);
        codeCaption->setObjectName(QStringLiteral("lblCodeCaption"));
        QFont bold = codeCaption->font();
        bold.setBold(true);
        codeCaption->setFont(bold);
        codeCaption->move(CodeCaptionPos.x(), memoRect.bottom() + 5);
        codeCaption->adjustSize();

        auto *codeLabel = new QLabel(code, panel);
        codeLabel->setObjectName(QStringLiteral("lblCode"));
        codeLabel->setTextFormat(Qt::PlainText);
        codeLabel->move(CodePos.x(), memoRect.bottom() + 5);
        codeLabel->resize(width - CodePos.x() - IconPos.x(), codeCaption->height());
    }

    std::vector<QPushButton *> row;
    for (int i = 0; i < count; ++i) {
        const TButtonDef &def = *present[std::size_t(i)];
        auto *button = new QPushButton(def.caption, dialog);
        button->setObjectName(QLatin1String(def.objectName));
        button->setAutoDefault(true);
        button->setGeometry((i + 1) * gap + ButtonWidth * i, height - ButtonTopFromBottom, ButtonWidth,
                            ButtonHeight);
        const int result = def.result;
        QObject::connect(button, &QPushButton::clicked, dialog, [d = dialog.data(), result] { d->done(result); });
        row.push_back(button);
    }
    // Tab runs from the rightmost button to the leftmost, and the rightmost
    // starts with the focus, so a careless Enter picks the most cautious
    // answer the set offers.
    for (std::size_t i = row.size(); i > 1; --i)
        QWidget::setTabOrder(row[i - 1], row[i - 2]);
    if (!row.empty())
        row.back()->setFocus();

    QScreen *screen = dialog->parentWidget() ? dialog->parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        dialog->move(screen->availableGeometry().center() - QPoint(width / 2, height / 2));

    const int result = dialog->exec();
    delete dialog.data();
    return quint16(result);
}

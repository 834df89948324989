#include "foundation/PGEdit.h"

#include "foundation/ErrorGuard.h"
#include "foundation/Exceptions.h"
#include "foundation/PGUtils.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

// The hook through which every change of the text passes before the line
// edit emits textChanged: the platform calls a validator for typed, pasted,
// dropped and programmatic text alike and shows what it returns.
class TEditGate final : public QValidator
{
public:
    explicit TEditGate(TPGCustomEdit *edit) : QValidator(edit), m_edit(edit) {}

    State validate(QString &input, int &pos) const override
    {
        m_edit->GateValidate(input, pos);
        return Acceptable;
    }

private:
    TPGCustomEdit *m_edit;
};

namespace {

const QChar DecimalSeparator = u'.';
const QChar RepsSeparator = u'x';

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isSearchKey(QChar c)
{
    return c == u'!' || c == u'*';
}

bool allAsciiDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// True when `after` is `before` with one contiguous run of characters taken
// out: backspace, delete and cut. Such a change needs no filtering.
bool isDeletionOf(const QString &before, const QString &after)
{
    if (after.size() >= before.size())
        return false;
    qsizetype prefix = 0;
    while (prefix < after.size() && after.at(prefix) == before.at(prefix))
        ++prefix;
    const qsizetype suffix = after.size() - prefix;
    return QStringView(before).right(suffix) == QStringView(after).right(suffix);
}

// A key event that inserts its text, as the platform edit decides it: some
// printable text, without Ctrl (AltGr combinations still type).
bool typesText(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    if (!std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); }))
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::MetaModifier) != 0)
        return false;
    return (modifiers & Qt::ControlModifier) == 0 || (modifiers & Qt::AltModifier) != 0;
}

bool isNumberText(const QString &text)
{
    return !text.trimmed().isEmpty() && TTulloUtilNumeric::IsFloat(text);
}

int digitCount(int value)
{
    return int(QString::number(value).size());
}

// The first `count` digits of `value` (all of them when it has fewer).
int leadingDigits(int value, int count)
{
    return QString::number(value).left(count).toInt();
}

} // namespace

// ---------------------------------------------------------------------------
// TPGCustomEdit

TPGCustomEdit::TPGCustomEdit(QWidget *parent) : QLineEdit(parent), m_gate(new TEditGate(this))
{
    setValidator(m_gate);
    // Connected before anyone else can connect, so the limit signals reach
    // their receivers ahead of textChanged.
    connect(this, &QLineEdit::textChanged, this, [this] { Guard([this] { EmitExceeded(); }); });
}

TPGCustomEdit::~TPGCustomEdit() = default;

bool TPGCustomEdit::HasSearchKey(const QString &text)
{
    return std::any_of(text.begin(), text.end(), isSearchKey);
}

void TPGCustomEdit::SetAllowSearchKeys(bool allow)
{
    m_allowSearchKeys = allow;
    if (!allow && HasSearchKey(text()))
        ValidateFinal(QString());
}

void TPGCustomEdit::SetMaxValue(const QString &value)
{
    m_maxValue = CheckMaxValue(value);
    Revalidate();
}

void TPGCustomEdit::SetMinValue(const QString &value)
{
    m_minValue = CheckMinValue(value);
    Revalidate();
}

QString TPGCustomEdit::Value()
{
    Revalidate();
    return m_value;
}

void TPGCustomEdit::SetValue(const QString &text)
{
    int position = 0;
    const QString built = InsertFiltered(text, QString(), position);
    ValidateFinal(built);
}

void TPGCustomEdit::Revalidate()
{
    ValidateFinal(m_value);
}

QMenu *TPGCustomEdit::CreateContextMenu()
{
    QMenu *menu = createStandardContextMenu();
    // The platform's menu wires its paste straight to the unfiltered
    // QLineEdit::paste; rewire that one action to the filtered paste.
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        const bool isPaste = disconnect(action, SIGNAL(triggered()), this, SLOT(paste()))
                             || disconnect(action, &QAction::triggered, this, &QLineEdit::paste);
        if (!isPaste)
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        connect(action, &QAction::triggered, this,
                [this] { Guard([this] { PasteFiltered(QClipboard::Clipboard); }); });
    }
    return menu;
}

TPGCustomEdit::TFilterText::TFilterText(const QString &text) : Length(text.size())
{
    for (const QChar c : text)
        Note(c);
    if (!text.isEmpty())
        Last = text.back();
}

void TPGCustomEdit::TFilterText::Insert(QChar c, bool atEnd)
{
    ++Length;
    Note(c);
    if (atEnd || Length == 1)
        Last = c;
}

void TPGCustomEdit::TFilterText::Note(QChar c)
{
    SearchKey = SearchKey || isSearchKey(c);
    Point = Point || c == DecimalSeparator;
    Minus = Minus || c == u'-';
    RepsX = RepsX || c == RepsSeparator;
}

QString TPGCustomEdit::InsertFiltered(const QString &source, QString target, int &position) const
{
    position = std::clamp(position, 0, int(target.size()));
    const bool atEnd = position == target.size();
    const qsizetype maxLength = MaxInputLength();
    TFilterText text(target);
    QString inserted;
    for (const QChar c : source) {
        if (text.Length >= maxLength)
            break;
        const QChar key = FilterKey(c, text);
        if (key.isNull())
            continue;
        inserted += key;
        text.Insert(key, atEnd);
    }
    target.insert(position, inserted);
    position += int(inserted.size());
    return target;
}

void TPGCustomEdit::TextValidated(const QString &, int) {}

void TPGCustomEdit::GateValidate(QString &input, int &pos)
{
    const bool ownEdit = std::exchange(m_editPending, false);
    // The re-check after a correction, and the platform asking whether the
    // text is acceptable.
    if (!ownEdit && input == m_validatedText)
        return;
    QString text = input;
    int caret = ownEdit ? m_pendingCaret : pos;
    try {
        // A change from outside the key, paste and drop handlers: setText,
        // insert, undo, a drag inside the field. Deleting needs no filter;
        // anything else is filtered again from nothing, as SetValue does.
        if (!ownEdit && !isDeletionOf(m_validatedText, input)) {
            int position = 0;
            text = InsertFiltered(input, QString(), position);
        }
        caret = std::clamp(caret, 0, int(text.size()));
        Validate(text, caret, false);
    } catch (...) {
        // Called from inside the platform's edit, where nothing may escape:
        // a text validation cannot read empties the field.
        text.clear();
        caret = 0;
        Validate(text, caret, false);
    }
    caret = std::clamp(caret, 0, int(text.size()));
    m_value = text;
    m_validatedText = text;
    input = text;
    pos = caret;
    TextValidated(m_value, caret);
}

void TPGCustomEdit::ValidateFinal(const QString &source)
{
    QString text = source;
    int caret = std::clamp(cursorPosition(), 0, int(text.size()));
    try {
        Validate(text, caret, true);
    } catch (...) {
        text.clear();
        caret = 0;
        Validate(text, caret, true);
    }
    caret = std::clamp(caret, 0, int(text.size()));
    m_value = text;
    m_validatedText = text;
    if (text != this->text()) {
        // Equal to the validated text, so the gate lets it pass unchanged.
        setText(text);
        setCursorPosition(caret);
        TextValidated(m_value, caret);
    }
    EmitExceeded();
}

void TPGCustomEdit::ApplyEdit(const QString &text, int caret)
{
    m_editPending = true;
    m_pendingCaret = caret;
    // One replacement of the whole text, which the platform treats as a user
    // edit (textEdited, modified flag).
    selectAll();
    insert(text);
    // When the text did not change the gate was not asked.
    m_editPending = false;
    EmitExceeded();
}

void TPGCustomEdit::InsertTyped(const QString &source)
{
    QString target = text();
    int position = cursorPosition();
    if (hasSelectedText()) {
        position = selectionStart();
        target.remove(position, selectionLength());
    }
    const QString result = InsertFiltered(source, target, position);
    // A key the filter drops leaves text and selection alone.
    if (result.size() == target.size())
        return;
    ApplyEdit(result, position);
}

void TPGCustomEdit::PasteFiltered(QClipboard::Mode mode)
{
    if (isReadOnly())
        return;
    QString target = text();
    int position = cursorPosition();
    if (hasSelectedText()) {
        position = selectionStart();
        target.remove(position, selectionLength());
    }
    const QString result = InsertFiltered(QGuiApplication::clipboard()->text(mode), target, position);
    ApplyEdit(result, position);
}

void TPGCustomEdit::EmitExceeded()
{
    const bool maxExceeded = std::exchange(m_maxExceeded, false);
    const bool minExceeded = std::exchange(m_minExceeded, false);
    if (maxExceeded)
        emit MaxExceeded();
    if (minExceeded)
        emit MinExceeded();
}

void TPGCustomEdit::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        if (!isReadOnly()) {
            if (event->key() == Qt::Key_Escape && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
                const bool restores = text() != m_entryText;
                ApplyEdit(m_entryText, int(m_entryText.size()));
                selectAll();
                // Unchanged, the key goes on to the dialog (its cancel).
                event->setAccepted(restores);
                return;
            }
            if (event->matches(QKeySequence::Paste)) {
                PasteFiltered(QClipboard::Clipboard);
                event->accept();
                return;
            }
            if (typesText(event)) {
                InsertTyped(event->text());
                event->accept();
                return;
            }
        }
        QLineEdit::keyPressEvent(event);
    });
}

void TPGCustomEdit::focusInEvent(QFocusEvent *event)
{
    Guard([&] {
        if (!m_focusSuspended)
            m_entryText = text();
        m_focusSuspended = false;
        QLineEdit::focusInEvent(event);
    });
}

void TPGCustomEdit::focusOutEvent(QFocusEvent *event)
{
    Guard([&] {
        // A popup menu or another window taking the focus for a while is no
        // leaving of the field; it still is the window's current control.
        const Qt::FocusReason reason = event->reason();
        m_focusSuspended = reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
        if (!m_focusSuspended) {
            Revalidate();
            emit Exit();
        }
        QLineEdit::focusOutEvent(event);
    });
}

void TPGCustomEdit::contextMenuEvent(QContextMenuEvent *event)
{
    Guard([&] {
        QMenu *menu = CreateContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPos());
        event->accept();
    });
}

void TPGCustomEdit::mouseReleaseEvent(QMouseEvent *event)
{
    Guard([&] {
        // The middle-button paste of the primary selection, where the
        // system has one.
        if (event->button() == Qt::MiddleButton && !isReadOnly()
            && QGuiApplication::clipboard()->supportsSelection()) {
            deselect();
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            PasteFiltered(QClipboard::Selection);
            event->accept();
            return;
        }
        QLineEdit::mouseReleaseEvent(event);
    });
}

void TPGCustomEdit::dropEvent(QDropEvent *event)
{
    Guard([&] {
        // Text dragged within the field was filtered when it came in; the
        // platform moves it and the gate checks the result.
        if (isReadOnly() || !event->mimeData()->hasText() || event->source() == this) {
            QLineEdit::dropEvent(event);
            return;
        }
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        InsertTyped(event->mimeData()->text());
        event->acceptProposedAction();
    });
}

void TPGCustomEdit::inputMethodEvent(QInputMethodEvent *event)
{
    Guard([&] {
        // Text an input method commits is typed text; the composition still
        // under way is the platform's to show.
        if (isReadOnly() || event->commitString().isEmpty() || event->replacementLength() != 0) {
            QLineEdit::inputMethodEvent(event);
            return;
        }
        InsertTyped(event->commitString());
        QInputMethodEvent composition(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&composition);
        event->accept();
    });
}

// ---------------------------------------------------------------------------
// TNumericalEdit

TNumericalEdit::TNumericalEdit(QWidget *parent) : TPGCustomEdit(parent)
{
    StoreMaxValue(QStringLiteral("999999999.9"));
    StoreMinValue(QStringLiteral("-999999999.9"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

TNumericalEdit::TNumericalEdit(const QString &objectName, QWidget *parent) : TNumericalEdit(parent)
{
    setObjectName(objectName);
}

void TNumericalEdit::SetNegValues(bool allow)
{
    m_negValues = allow;
    if (!allow && TTulloUtilNumeric::StrToFloat(MinValue()) < 0.0)
        StoreMinValue(QStringLiteral("0"));
    ValidateFinal(text());
}

void TNumericalEdit::SetNumDecimals(int decimals)
{
    m_numDecimals = std::max(decimals, 0);
    Revalidate();
}

double TNumericalEdit::FloatValue()
{
    Revalidate();
    return m_floatValue;
}

bool TNumericalEdit::SignAllowed() const
{
    return m_negValues && TTulloUtilNumeric::StrToFloat(MinValue()) < 0.0;
}

QChar TNumericalEdit::FilterKey(QChar key, const TFilterText &text) const
{
    if (text.SearchKey)
        return {};
    if (isAsciiDigit(key))
        return key;
    // "," is how a Swedish keyboard and Swedish text write the separator.
    if (key == DecimalSeparator || key == u',')
        return m_numDecimals >= 1 && !text.Point ? DecimalSeparator : QChar();
    if (isSearchKey(key))
        return AllowSearchKeys() && text.IsEmpty() ? key : QChar();
    if (key == u'-')
        return !text.Minus && SignAllowed() ? key : QChar();
    return {};
}

QString TNumericalEdit::InsertFiltered(const QString &source, QString target, int &position) const
{
    position = std::clamp(position, 0, int(target.size()));
    const bool atEnd = position == target.size();
    const qsizetype maxLength = MaxInputLength();
    TFilterText text(target);
    QString inserted;
    bool minus = false;
    for (const QChar c : source) {
        if (text.Length >= maxLength)
            break;
        const QChar key = FilterKey(c, text);
        if (key.isNull()) {
            // The decimals of a number pasted into a whole-number field are
            // cut off rather than joined to the whole part: 12.7 gives 12.
            if ((c == DecimalSeparator || c == u',') && m_numDecimals == 0)
                break;
            continue;
        }
        if (key == u'-') {
            // Wherever it is typed, a minus becomes the leading sign.
            minus = true;
            text.Insert(key, text.IsEmpty());
            continue;
        }
        inserted += key;
        text.Insert(key, atEnd);
    }
    target.insert(position, inserted);
    position += int(inserted.size());
    if (minus) {
        target.prepend(u'-');
        ++position;
    }
    return target;
}

qsizetype TNumericalEdit::MaxInputLength() const
{
    // The limits lie within 32 bits (see CheckMaxValue), so their whole
    // part has at most ten digits.
    const double largest = std::max(std::fabs(TTulloUtilNumeric::StrToFloat(MaxValue())),
                                    std::fabs(TTulloUtilNumeric::StrToFloat(MinValue())));
    const qsizetype digits = QString::number(qint64(std::trunc(largest))).size();
    qsizetype length = (SignAllowed() ? 1 : 0) + digits + 1;
    if (m_numDecimals >= 1)
        length += 1 + qsizetype(m_numDecimals) + RoundingDecimals;
    return length;
}

QString TNumericalEdit::FormatLimit(double limit, bool isMaximum) const
{
    const QString text = TTulloUtilString::FormatFixed(m_numDecimals, limit);
    const double shown = TTulloUtilNumeric::StrToFloat(text);
    if (isMaximum ? shown <= limit : shown >= limit)
        return text;
    // 999999999.9 with no decimals would read 1000000000, above itself.
    const double step = std::pow(10.0, -m_numDecimals);
    return TTulloUtilString::FormatFixed(m_numDecimals, isMaximum ? shown - step : shown + step);
}

void TNumericalEdit::Validate(QString &text, int &caret, bool final)
{
    m_intValue = 0;
    m_floatValue = 0.0;
    const QString typed = text;
    if (text.isEmpty() || (text == QLatin1String("-") && !final) || HasSearchKey(text))
        return;
    if (text == QLatin1String("-") || !isNumberText(text)) {
        text.clear();
        caret = 0;
        return;
    }
    double number = TTulloUtilNumeric::StrToFloat(text);
    if (final) {
        // Rounded to the decimals before the limits are applied, so that the
        // rounding cannot carry the final value past a limit (999.96 with
        // one decimal and a maximum of 999.99).
        text = TTulloUtilString::FormatFixed(m_numDecimals, number);
        number = TTulloUtilNumeric::StrToFloat(text);
    }
    const double maximum = TTulloUtilNumeric::StrToFloat(MaxValue());
    const double minimum = TTulloUtilNumeric::StrToFloat(MinValue());
    if (number > maximum) {
        text = FormatLimit(maximum, true);
        number = TTulloUtilNumeric::StrToFloat(text);
        NoteMaxExceeded();
    }
    if (number < minimum) {
        text = FormatLimit(minimum, false);
        number = TTulloUtilNumeric::StrToFloat(text);
        NoteMinExceeded();
    }
    m_floatValue = number;
    const double whole = std::trunc(number);
    m_intValue = int(std::clamp(whole, double(std::numeric_limits<int>::min()),
                                double(std::numeric_limits<int>::max())));
    // A corrected number is read from the left; the caret goes to its end.
    if (text != typed)
        caret = int(text.size());
}

QString TNumericalEdit::CheckMaxValue(const QString &value) const
{
    if (!isNumberText(value))
        throw ENumError(value + QStringLiteral(" is not a valid numerical"));
    if (TTulloUtilNumeric::StrToFloat(value) > double(std::numeric_limits<int>::max()))
        return QStringLiteral("2147483647.0");
    return value;
}

QString TNumericalEdit::CheckMinValue(const QString &value) const
{
    if (!isNumberText(value))
        throw ENumError(value + QStringLiteral(" is not a valid numerical"));
    if (TTulloUtilNumeric::StrToFloat(value) < double(std::numeric_limits<int>::min()))
        return QStringLiteral("-2147483648.0");
    return value;
}

// ---------------------------------------------------------------------------
// TRepsEdit

TRepsEdit::TRepsEdit(QWidget *parent) : TPGCustomEdit(parent)
{
    StoreMaxValue(QStringLiteral("99x99"));
    StoreMinValue(QStringLiteral("0x0"));
}

TRepsEdit::TRepsEdit(const QString &objectName, QWidget *parent) : TRepsEdit(parent)
{
    setObjectName(objectName);
}

QString TRepsEdit::Normalise(const QString &text)
{
    QString result = text.left(RepsLength);
    qsizetype separator = result.indexOf(RepsSeparator);
    QString digits = result;
    digits.remove(RepsSeparator);
    if (!allAsciiDigits(digits))
        return QString();
    if (separator == 0 || separator > 2) {
        result = digits;
        separator = -1;
    }
    if (separator < 0 && result.size() > 2)
        result = result.left(2) + RepsSeparator + result.mid(2, 2);
    return result;
}

int TRepsEdit::PartNumber(const QString &text)
{
    QString digits = text;
    digits.remove(RepsSeparator);
    digits = digits.trimmed();
    if (digits.isEmpty())
        return 0;
    return TTulloUtilNumeric::StrToInt(digits);
}

QChar TRepsEdit::FilterKey(QChar key, const TFilterText &text) const
{
    if (text.SearchKey)
        return {};
    if (isSearchKey(key))
        return AllowSearchKeys() && text.IsEmpty() ? key : QChar();
    // No leading zero in the repetitions.
    if (key == u'0' && text.Last == RepsSeparator)
        return {};
    if (isAsciiDigit(key))
        return key;
    if (key == RepsSeparator || key == u'X')
        return text.RepsX ? QChar() : RepsSeparator;
    return {};
}

void TRepsEdit::Validate(QString &text, int &caret, bool final)
{
    if (text.isEmpty() || HasSearchKey(text))
        return;
    const QString normal = Normalise(text);
    if (normal.isEmpty()) {
        text.clear();
        caret = 0;
        return;
    }

    // The sets and repetitions are read from the normal form: the text as
    // typed may lack the x or hold characters that Normalise cuts off (1234
    // is 12 sets of 34, not of 4).
    const qsizetype separator = normal.indexOf(RepsSeparator);
    const bool hasReps = separator >= 0 && separator < normal.size() - 1;
    int sets = PartNumber(hasReps ? normal.left(separator) : normal);
    int reps = hasReps ? PartNumber(normal.mid(separator + 1)) : 0;

    const qsizetype maxSeparator = MaxValue().indexOf(RepsSeparator);
    const int maxSets = PartNumber(maxSeparator < 0 ? MaxValue() : MaxValue().left(maxSeparator));
    const int maxReps = maxSeparator < 0 ? 9999 : PartNumber(MaxValue().mid(maxSeparator + 1));
    const qsizetype minSeparator = MinValue().indexOf(RepsSeparator);
    const int minSets = PartNumber(minSeparator < 0 ? MinValue() : MinValue().left(minSeparator));
    const int minReps = minSeparator < 0 ? 0 : PartNumber(MinValue().mid(minSeparator + 1));
    const qsizetype minRepsLength = minSeparator < 0 ? 0 : MinValue().size() - minSeparator - 1;

    bool clamped = false;
    if (sets > maxSets) {
        sets = final ? maxSets : leadingDigits(maxSets, digitCount(sets));
        clamped = true;
        NoteMaxExceeded();
    } else if (sets < minSets) {
        // Below the minimum only once the sets are complete; 1 may still
        // become 12 on the way to a minimum of 10.
        if (final || separator >= 0 || digitCount(sets) >= digitCount(minSets)) {
            sets = minSets;
            clamped = true;
            NoteMinExceeded();
        }
    }

    if (reps > maxReps) {
        reps = final ? maxReps : leadingDigits(maxReps, digitCount(reps));
        clamped = true;
        NoteMaxExceeded();
    } else if (reps < minReps) {
        bool clamp = final;
        if (!final && hasReps)
            clamp = !(digitCount(minReps) >= digitCount(reps) && minRepsLength != digitCount(reps));
        if (clamp) {
            reps = final ? minReps : leadingDigits(minReps, digitCount(reps));
            clamped = true;
            NoteMinExceeded();
        }
    }

    QString result = normal;
    if (clamped) {
        if (final || hasReps)
            result = QString::number(sets) + RepsSeparator + QString::number(reps);
        else
            result = QString::number(sets) + (normal.endsWith(RepsSeparator) ? QString(RepsSeparator) : QString());
    }
    // Sets raised to a minimum of more digits can leave the repetitions no
    // room in the five characters (1x200 with at least 10 sets): they come
    // down to the most that fits, as to a maximum, so that what the field
    // shows is its value.
    if (result.size() > RepsLength) {
        const int room = std::max(1, int(RepsLength) - 1 - digitCount(sets));
        const int fits = int(std::pow(10, room)) - 1;
        if (reps > fits) {
            reps = fits;
            NoteMaxExceeded();
        }
        result = QString::number(sets) + RepsSeparator + QString::number(reps);
    }

    // Over an x that the normal form put in front of the caret.
    if ((caret == 2 || caret == 3) && result.size() > m_previousValue.size())
        ++caret;
    text = result;
    caret = std::clamp(caret, 0, int(text.size()));
}

void TRepsEdit::TextValidated(const QString &value, int caret)
{
    if (caret >= 1)
        m_previousValue = value;
}

QString TRepsEdit::NormaliseLimit(const QString &value)
{
    // As the filter does with a typed value: an x after the first is dropped.
    QString text = value.trimmed();
    const qsizetype first = text.indexOf(RepsSeparator);
    if (first >= 0) {
        QString rest = text.mid(first + 1);
        rest.remove(RepsSeparator);
        text = text.left(first + 1) + rest;
    }
    QString result = Normalise(text);
    if (result.endsWith(RepsSeparator))
        result.chop(1);
    return result;
}

qsizetype TRepsEdit::MaxInputLength() const
{
    return RepsLength;
}

QString TRepsEdit::CheckMaxValue(const QString &value) const
{
    const QString result = NormaliseLimit(value);
    if (result.isEmpty())
        throw ERepsError(value + QStringLiteral(" is not a valid repetition value"));
    return result;
}

QString TRepsEdit::CheckMinValue(const QString &value) const
{
    return NormaliseLimit(value);
}

#pragma once

#include "foundation/PGUtilsWidgets.h"

#include <QClipboard>
#include <QLineEdit>
#include <QString>

class QMenu;
class TEditGate;

// The single-line edit under every numeric and repetitions field. Whatever
// reaches its text - typed keys, Ctrl+V and Shift+Insert, the context menu's
// paste, a middle click, a drop, an input method, setText() and SetValue() -
// passes the character filter of the subclass (FilterKey / InsertFiltered)
// and is validated before textChanged is emitted, so a connected window only
// ever sees validated text. Deleting characters (backspace, cut, delete) is
// validated without filtering.
//
// Validation while typing ("not final") corrects the text at once where it
// cannot be used; the final validation, run when the field loses the focus,
// by CommitEdit (TTulloUtilMisc::CommitEdits) and when Value is read, also
// brings the text into its final form. Typed input never raises: what the
// filter refuses is dropped, what validation cannot read is emptied.
//
// The search keys "!" (no value) and "*" (any value) of the search page are
// accepted as the only content of a field whose AllowSearchKeys is set; a
// text holding one is never clamped or converted.
//
// Escape brings back the text the field had when it got the focus and
// selects it; the key is consumed only when that changed the text, so a
// second Escape reaches the dialog.
//
// A field takes no more characters than its limits can ever use
// (MaxInputLength); what a paste or the program brings beyond that is
// dropped as a refused key is, and a key typed at the full length changes
// nothing. The filter makes one pass over what is inserted, so a paste
// costs time in proportion to its length, however long it is.
//
// The control installs a validator of its own; callers must not replace it.
class TPGCustomEdit : public QLineEdit, public TCommittableEdit
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSearchKeys READ AllowSearchKeys WRITE SetAllowSearchKeys)
    Q_PROPERTY(QString MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(QString MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(QString Value READ Value WRITE SetValue)

public:
    ~TPGCustomEdit() override;

    bool AllowSearchKeys() const { return m_allowSearchKeys; }
    // Turning it off while the text holds a search key empties the field.
    void SetAllowSearchKeys(bool allow);

    QString MaxValue() const { return m_maxValue; }
    QString MinValue() const { return m_minValue; }
    // Checked and brought into the subclass's form (see the subclasses for
    // what they raise), stored, then the text is validated again (final).
    void SetMaxValue(const QString &value);
    void SetMinValue(const QString &value);

    // The validated text: runs the final validation of the current text
    // first, so it may change what the field shows.
    QString Value();
    // Builds the text from nothing, every character passing the filter as if
    // typed, then validates it (final) and shows it.
    void SetValue(const QString &text);
    // The final validation of the current text.
    void Revalidate();
    void CommitEdit() override { Revalidate(); }

    // The text the field had when it last received the focus; Escape
    // restores it.
    QString EntryText() const { return m_entryText; }

    // The menu a right click shows: the platform's edit menu, whose paste
    // (object name "edit-paste") passes the filter. It is a child of the
    // edit; the caller deletes it when done.
    QMenu *CreateContextMenu();

    // True when the text holds a search key ("!" or "*").
    static bool HasSearchKey(const QString &text);

signals:
    // Validation replaced the text by the maximum or the minimum. Emitted
    // after the field shows the new text and before textChanged reaches
    // the other receivers; MaxExceeded first when both apply.
    void MaxExceeded();
    void MinExceeded();
    // The field lost the focus to another control of the window, after the
    // final validation (and before editingFinished).
    void Exit();

protected:
    explicit TPGCustomEdit(QWidget *parent);

    // What the filter knows of the text a character goes into: taken from
    // the text once and then kept up to date character by character, so
    // that filtering a whole paste is one pass.
    struct TFilterText
    {
        explicit TFilterText(const QString &text);
        // Notes `c` inserted at the end of the text, or elsewhere.
        void Insert(QChar c, bool atEnd);
        bool IsEmpty() const { return Length == 0; }

        qsizetype Length = 0;
        bool SearchKey = false; // holds "!" or "*"
        bool Point = false;     // holds "."
        bool Minus = false;     // holds "-"
        bool RepsX = false;     // holds "x"
        QChar Last;             // the last character; null when empty

    private:
        void Note(QChar c);
    };

    // The filter for one character about to be inserted into `text` (the
    // text as it is without the selection): the character to insert, which
    // may differ from `key`, or a null QChar to drop it.
    virtual QChar FilterKey(QChar key, const TFilterText &text) const = 0;
    // Inserts the characters of `source` that survive FilterKey into
    // `target` at `position`, one after the other, until the text holds
    // MaxInputLength characters; `position` ends behind the last inserted
    // character.
    virtual QString InsertFiltered(const QString &source, QString target, int &position) const;
    // The most characters the field takes from the filter.
    virtual qsizetype MaxInputLength() const = 0;
    // Validates `text`, corrects it in place and moves `caret` with it;
    // updates what the subclass derives from the text and notes exceeded
    // limits with NoteMaxExceeded / NoteMinExceeded. The caller stores the
    // result as Value. Must not raise for any text the filter lets through.
    virtual void Validate(QString &text, int &caret, bool final) = 0;
    // Called after every change of the text has been validated, with the
    // new Value and the caret where it now stands.
    virtual void TextValidated(const QString &value, int caret);
    // Brings a new limit into the stored form; raises for one that is unfit.
    virtual QString CheckMaxValue(const QString &value) const = 0;
    virtual QString CheckMinValue(const QString &value) const = 0;

    // Limits stored as they are, for the subclass's constructor and its own
    // rules; nothing is validated.
    void StoreMaxValue(const QString &value) { m_maxValue = value; }
    void StoreMinValue(const QString &value) { m_minValue = value; }

    void NoteMaxExceeded() { m_maxExceeded = true; }
    void NoteMinExceeded() { m_minExceeded = true; }

    // Replaces the text by `text` (already filtered) with the caret at
    // `caret`, as one edit of the user, and validates it (not final).
    void ApplyEdit(const QString &text, int caret);
    // The final validation of `text`, shown.
    void ValidateFinal(const QString &text);

    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    friend class TEditGate;

    // The validator's call: every change of the text ends here before
    // textChanged is emitted.
    void GateValidate(QString &input, int &pos);
    // Inserts `source` as typed at the caret in place of the selection. A
    // typed key of which nothing survives the filter changes nothing.
    void InsertTyped(const QString &source);
    // Inserts the clipboard's text in place of the selection; the caret
    // ends behind the inserted characters.
    void PasteFiltered(QClipboard::Mode mode);
    void EmitExceeded();

    TEditGate *m_gate = nullptr;
    bool m_allowSearchKeys = false;
    QString m_maxValue;
    QString m_minValue;
    QString m_value;
    QString m_entryText;
    // The text the last validation produced; the validator lets exactly this
    // text pass unchanged (the platform asks again after a correction and
    // when it checks for acceptable input).
    QString m_validatedText;
    // Set while the focus is away in a popup or another window, so that its
    // return is no new entry into the field.
    bool m_focusSuspended = false;
    bool m_editPending = false;
    int m_pendingCaret = 0;
    bool m_maxExceeded = false;
    bool m_minExceeded = false;
};

// A field for a decimal or whole number between MinValue and MaxValue,
// finally written with NumDecimals decimals in fixed notation with "." as
// separator, whatever the locale. A "," typed or pasted counts as the
// separator. The text is right-aligned.
//
// While typing, a number above the maximum or below the minimum is replaced
// at once by that limit; a lone "-" is kept until the field is left; a text
// that is no number (a lone separator) empties the field. The final
// validation also fixes the decimals (72 with one decimal becomes 72.0).
//
// The final validation rounds to the decimals before it checks the limits,
// so that the rounding cannot carry the value past a limit: 999.99 with a
// maximum of 999.99 and one decimal gives 999.9 (and MaxExceeded), not
// 1000.0; 999.96 gives 999.9 as well.
//
// The field takes a sign (where one may be typed), one digit more than the
// larger limit has before its separator (so that a number typed past a
// limit still shows the limit), and with decimals the separator and
// NumDecimals + 17 decimals: a double tells numbers apart by 17 digits at
// most, so the decimals beyond those cannot change the rounding when the
// field is left. Limits 0..100 with one decimal take 23 characters, the
// default limits with two decimals 31.
class TNumericalEdit final : public TPGCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(bool NegValues READ NegValues WRITE SetNegValues)
    Q_PROPERTY(int NumDecimals READ NumDecimals WRITE SetNumDecimals)
    Q_PROPERTY(int IntValue READ IntValue)
    Q_PROPERTY(double FloatValue READ FloatValue)

public:
    explicit TNumericalEdit(QWidget *parent = nullptr);
    explicit TNumericalEdit(const QString &objectName, QWidget *parent = nullptr);

    bool NegValues() const { return m_negValues; }
    // Turning it off while MinValue is negative sets MinValue to "0"; then
    // the text is validated again (final).
    void SetNegValues(bool allow);

    int NumDecimals() const { return m_numDecimals; }
    // A negative count counts as 0. The text is validated again (final).
    void SetNumDecimals(int decimals);

    // The value of the last validation, truncated towards zero; 0 for an
    // empty field, a lone "-" or a search key.
    int IntValue() const { return m_intValue; }
    // The value after the final validation of the current text.
    double FloatValue();

    // Limits: a text that is no number raises ENumError "<text> is not a
    // valid numerical"; a maximum above 2147483647 is stored as
    // "2147483647.0", a minimum below -2147483648 as "-2147483648.0".
    // Defaults "999999999.9" and "-999999999.9".

protected:
    QChar FilterKey(QChar key, const TFilterText &text) const override;
    QString InsertFiltered(const QString &source, QString target, int &position) const override;
    qsizetype MaxInputLength() const override;
    void Validate(QString &text, int &caret, bool final) override;
    QString CheckMaxValue(const QString &value) const override;
    QString CheckMinValue(const QString &value) const override;

private:
    // Decimals beyond NumDecimals that the field takes for the rounding.
    static constexpr qsizetype RoundingDecimals = 17;

    // A "-" may be typed: NegValues and a negative minimum.
    bool SignAllowed() const;
    // `limit` in fixed notation with NumDecimals decimals, rounded towards
    // the inside of the range where rounding would carry it outside.
    QString FormatLimit(double limit, bool isMaximum) const;

    bool m_negValues = true;
    int m_numDecimals = 2;
    int m_intValue = 0;
    double m_floatValue = 0.0;
};

// A field for strength repetitions: sets, "x", repetitions (3x10), at most
// five characters. Typing three digits inserts the x after the second
// (310 becomes 31x0); the sets and the repetitions are kept within
// MinValue..MaxValue, while typing by their leading digits.
//
// What the field shows is always its value. Where the sets are raised to a
// minimum of more digits than were typed, the repetitions may no longer fit
// in the five characters: they come down to the most that fits, as to a
// maximum (MaxExceeded). With limits 10..99, 1x200 shows 10x99.
class TRepsEdit final : public TPGCustomEdit
{
    Q_OBJECT

public:
    // The most characters of a reps text.
    static constexpr qsizetype RepsLength = 5;

    explicit TRepsEdit(QWidget *parent = nullptr);
    explicit TRepsEdit(const QString &objectName, QWidget *parent = nullptr);

    // Value as it was at the last change that left the caret behind the
    // first character.
    QString PreviousValue() const { return m_previousValue; }

    // The reps form of a text: at most its first five characters; empty when
    // its digits (without "x") are no whole number; an "x" in front or after
    // the third character is removed; a text of more than two characters
    // without "x" gets one after its second. 1234 -> 12x34, x10 -> 10,
    // 123x4 -> 12x34, 3x10 stays.
    static QString Normalise(const QString &text);
    // The number of a part of a reps text: the text without "x", trimmed;
    // 0 when that is empty. Raises EConvertError when it is no whole number.
    static int PartNumber(const QString &text);

    // Limits are normalised as a typed value is - an "x" after the first
    // dropped, then Normalise - and lose a trailing "x" (200x5 is stored as
    // 20x05, 1xx as 1), so that setting a stored limit again keeps it. A
    // maximum that is then no repetition value raises ERepsError "<text> is
    // not a valid repetition value". Defaults "99x99" and "0x0". A limit
    // without "x" limits the sets only.
    static QString NormaliseLimit(const QString &value);

protected:
    QChar FilterKey(QChar key, const TFilterText &text) const override;
    // RepsLength: Normalise keeps no more.
    qsizetype MaxInputLength() const override;
    void Validate(QString &text, int &caret, bool final) override;
    void TextValidated(const QString &value, int caret) override;
    QString CheckMaxValue(const QString &value) const override;
    QString CheckMinValue(const QString &value) const override;

private:
    QString m_previousValue;
};

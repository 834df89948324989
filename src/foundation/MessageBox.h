#pragma once

#include <QFlags>
#include <QString>

// The kinds of message; each gives the box its caption and icon.
enum class TMessageKind : quint8 {
    Warning = 0,       // "Varning", exclamation
    Error = 1,         // "Fel", stop
    Information = 2,   // "Information", information
    Question = 3,      // "Fråga", question mark
    InternalError = 4, // "Internt fel", stop; the only kind that shows the code
};

// The buttons a box may carry. They always stand left to right in this order.
enum class TMessageButton : quint8 {
    Yes = 1 << 0,    // "&Ja"
    No = 1 << 1,     // "&Nej"
    OK = 1 << 2,     // "&Ok"
    Cancel = 1 << 3, // "&Avbryt"
};
Q_DECLARE_FLAGS(TMessageButtons, TMessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMessageButtons)

// What ShowMessageBox returns: the pressed button's result.
struct TMessageResult
{
    static constexpr quint16 OK = 1;
    static constexpr quint16 Cancel = 2;
    static constexpr quint16 Yes = 6;
    static constexpr quint16 No = 7;
};

// Shows the program's message dialog modally and returns the result of the
// button pressed. The text is shown word-wrapped and read-only; the code only
// by the internal-error kind, beside "Felkod:". The rightmost button has the
// focus. Escape answers cancel if that button is present, else OK if it is
// the only button, else no if the buttons are exactly yes and no; with any
// other set escape does nothing. Closing the window gives cancel.
quint16 ShowMessageBox(const QString &text, TMessageKind kind, TMessageButtons buttons,
                       const QString &code = QString());

#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The one base of every exception the program raises. It carries only the
// message text; subclasses add nothing but their type, which callers use to
// tell the faults apart.
class EException : public std::exception
{
public:
    explicit EException(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString &Message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The silent abort: ends the operation under way without any message. Raised
// after an error box has already told the user what was wrong.
class EAbort final : public EException
{
public:
    EAbort() : EException(QStringLiteral("Operation aborted")) {}
};

[[noreturn]] inline void Abort()
{
    throw EAbort();
}

// Value texts and the helpers for grids, check lists and controls.
class EPGUtilsError : public EException { public: using EException::EException; };
class ETimeError : public EPGUtilsError { public: using EPGUtilsError::EPGUtilsError; };
class EDistError : public EPGUtilsError { public: using EPGUtilsError::EPGUtilsError; };
class EGridError : public EPGUtilsError { public: using EPGUtilsError::EPGUtilsError; };
class ECalendarError : public EPGUtilsError { public: using EPGUtilsError::EPGUtilsError; };
class ECheckListBox : public EPGUtilsError { public: using EPGUtilsError::EPGUtilsError; };
class EStringError : public EPGUtilsError { public: using EPGUtilsError::EPGUtilsError; };
class EControlError : public EPGUtilsError { public: using EPGUtilsError::EPGUtilsError; };

// A text that is no number (or no date) where one is required. The message
// names the offending text.
class EConvertError : public EException { public: using EException::EException; };

// The foundation components, each with a class of its own.
class EObserver : public EException { public: using EException::EException; };
class ERegistry : public EException { public: using EException::EException; };
class ETulloCalendar : public EException { public: using EException::EException; };
class EDbMiscError : public EException { public: using EException::EException; };
class EDbMiscErrorInvalidType : public EDbMiscError { public: using EDbMiscError::EDbMiscError; };
class EDbMiscErrorNotActive : public EDbMiscError { public: using EDbMiscError::EDbMiscError; };
class EDbMiscErrorInvalidValue : public EDbMiscError { public: using EDbMiscError::EDbMiscError; };
class EInvalidRow : public EException { public: using EException::EException; };
class EInvalidCol : public EException { public: using EException::EException; };
class EComplexGrid : public EException { public: using EException::EException; };
class ENumError : public EException { public: using EException::EException; };
class ERepsError : public EException { public: using EException::EException; };

// Components of the application core, the analysis windows and printing that
// stand outside the program's domain tree.
class EHelpMenu : public EException { public: using EException::EException; };
class EWindowsMenu : public EException { public: using EException::EException; };
class EGraphs : public EException { public: using EException::EException; };
class EActivityName : public EException { public: using EException::EException; };
class EReportError : public EException { public: using EException::EException; };

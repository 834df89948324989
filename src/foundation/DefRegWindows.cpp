// The window part of TDefRegistry. It works on widgets, so it is built with
// the widget part of the foundation; the rest of the registry store needs
// only Qt Core.

#include "foundation/DefReg.h"

#include "foundation/PGUtilsWidgets.h"

#include <QWidget>

namespace
{
template <class Form> Form *needForm(Form *form)
{
    if (!form)
        throw ERegistry(QStringLiteral("Invalid form"));
    return form;
}
}

void TDefRegistry::WriteWindow(const QWidget *form)
{
    const QRect place = TTulloUtilWindow::Place(needForm(form));
    const QSize size = place.size();
    WritePlace(place.topLeft(), &size);
}

void TDefRegistry::ReadWindow(QWidget *form) const
{
    const QRect place = TTulloUtilWindow::Place(needForm(form));
    QPoint position = place.topLeft();
    QSize size = place.size();
    const bool positioned = ReadPlace(position, &size);
    TTulloUtilWindow::SetPlace(form, QRect(position, size), positioned);
}

void TDefRegistry::WritePosition(const QWidget *form)
{
    WritePlace(TTulloUtilWindow::Place(needForm(form)).topLeft(), nullptr);
}

void TDefRegistry::ReadPosition(QWidget *form) const
{
    const QRect place = TTulloUtilWindow::Place(needForm(form));
    QPoint position = place.topLeft();
    const bool positioned = ReadPlace(position, nullptr);
    TTulloUtilWindow::SetPlace(form, QRect(position, place.size()), positioned);
}

void LoadWindowState(const QString &key, QWidget *form)
{
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(key, true);
    registry.ReadWindow(form);
    registry.CloseKey();
}

void SaveWindowState(const QString &key, const QWidget *form)
{
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(key, true);
    registry.WriteWindow(form);
    registry.CloseKey();
}

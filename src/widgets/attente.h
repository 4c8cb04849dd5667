// The wait cursor over the whole program while long work runs on the window's
// thread (a very large redraw, an export, a print job).  The cursor comes back
// however the work ends, an exception included, so that a message box shown
// afterwards never sits under a wait cursor.
#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace horaku
{

class CurseurAttente
{
public:
    CurseurAttente() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CurseurAttente() { QGuiApplication::restoreOverrideCursor(); }
    CurseurAttente(const CurseurAttente&) = delete;
    CurseurAttente& operator=(const CurseurAttente&) = delete;
};

} // namespace horaku

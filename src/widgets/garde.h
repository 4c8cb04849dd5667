// The one guard around the windows' handlers: an exception that escapes a
// handler is shown in the application's standard error box and the handler
// stops there, its state as it was reached.  Application::notify catches what
// a handler run by the event loop would still let through.
#pragma once

#include "services.h"

namespace horaku
{

template <typename Fonction> void Proteger(Services& services, QWidget* parent, Fonction&& fonction)
{
    try {
        fonction();
    } catch (...) {
        services.MontrerException(parent);
    }
}

} // namespace horaku

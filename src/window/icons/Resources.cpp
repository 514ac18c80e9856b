#include "window/icons/Resources.h"

#include <QtGlobal>

static void RegisterPictures() {
    Q_INIT_RESOURCE(ketrilo);
}

void EnsureResources() {
    static const bool registered = (RegisterPictures(), true);
    Q_UNUSED(registered);
}

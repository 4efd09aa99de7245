// The launcher program's application object, made during static initialisation. The program's
// resources come with it, as an executable carries its own.
#include "app/QCaldroApp.h"
#include "res/NorvaneAppResources.h"

namespace {
const HINSTANCE g_launcherModule = RegisterNorvaneAppResources();
} // namespace

QCaldroApp theApp;

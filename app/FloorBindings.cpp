#include "app/MainWindow.h"

// The floor program: the tool's window and nothing behind it, so that measuring it
// shows what the window alone costs.
const MainWindowBindings mainWindowBindings{};

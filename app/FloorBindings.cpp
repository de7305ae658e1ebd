#include "actions/QuizSite.h"
#include "app/MainWindow.h"

// The floor program: the tool's window and nothing behind it but the button, so that
// measuring it shows what the bank and the hot key add. The button keeps its handler so
// that both programs load the same system libraries.
const MainWindowBindings mainWindowBindings{nullptr, &onOpenSiteClicked, nullptr};

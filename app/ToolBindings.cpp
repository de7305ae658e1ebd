#include "actions/HotkeyCapture.h"
#include "actions/QuizSite.h"
#include "app/MainWindow.h"

const MainWindowBindings mainWindowBindings{&onMainWindowCreated, &onOpenSiteClicked,
                                            &onHotkeyFeedback};

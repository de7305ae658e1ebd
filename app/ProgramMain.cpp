#include "app/Program.h"
#include "platform/Process.h"

int platform::programMain() {
    startProgram();
    shutDown(quitRequestCode());
}

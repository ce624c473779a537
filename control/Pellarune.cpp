// The client's program: the application object started, run and ended.
#include "control/Player.h"
#include "platform/App.h"

int main(int argc, char** argv) {
    SetCommandLine(argc, argv);
    CClientApp App;
    if (!App.InitInstance()) {
        ShowErrorBox("The window of the program could not be created.", "Pellarune");
        return 1;
    }
    return App.Run();
}

// Stands in for the game: the tests copy it into a game folder under the game's file names and start it. It only
// waits until it is ended.
#include <windows.h>

int main()
{
    Sleep(INFINITE);
    return 0;
}

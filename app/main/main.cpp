#include "app/brindle_app.h"
#include "app/main/screen.h"

int main(int argc, char** argv)
{
    return RunBrindle(argc, argv, &OpenScreen);
}

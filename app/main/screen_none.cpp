#include "app/main/screen.h"

std::shared_ptr<void> OpenScreen(std::string& whyNot)
{
    whyNot = "built without Qt";
    return nullptr;
}

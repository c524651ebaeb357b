#include "http/request_options.h"

#include "platform/inet/internet.h"
#include "platform/text/code_page.h"

std::u16string ObtainDefaultUserAgent()
{
    return platform::DecodeAnsi(platform::inet::DefaultUserAgent());
}

#include "http/receive_buffer.h"

namespace inner
{

void ReceiveBuffer::Append(const char* data, std::size_t count)
{
    bytesReceived.fetch_add(static_cast<std::int32_t>(count));
    std::lock_guard guard(*this);
    body.append(data, count);
}

std::string ReceiveBuffer::Take()
{
    std::lock_guard guard(*this);
    std::string taken = std::move(body);
    body.clear();
    return taken;
}

} // namespace inner

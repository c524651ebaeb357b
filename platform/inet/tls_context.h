// The TLS settings of client connections: TLS 1.2 or later, the trusted
// certificates from SSL_CERT_FILE when set, else the system's store. The
// context is made once and made again only when SSL_CERT_FILE names another
// file or the file changed, because loading a store costs far more than a
// handshake.
#pragma once

#include <memory>

typedef struct ssl_ctx_st SSL_CTX;

namespace platform::inet
{

// Null when no context could be made.
std::shared_ptr<SSL_CTX> ClientTlsContext();

} // namespace platform::inet

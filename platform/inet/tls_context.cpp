#include "platform/inet/tls_context.h"

#include <openssl/ssl.h>

#include <sys/stat.h>

#include <cstdlib>
#include <mutex>
#include <string>

namespace platform::inet
{

namespace
{

struct StoreKey
{
    std::string file;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const StoreKey& other) const
    {
        return file == other.file && device == other.device && inode == other.inode &&
               size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

StoreKey CurrentKey()
{
    StoreKey key;
    if (const char* file = std::getenv("SSL_CERT_FILE"); file && *file)
    {
        key.file = file;
        struct stat info
        {
        };
        if (stat(file, &info) == 0)
        {
            key.device = info.st_dev;
            key.inode = info.st_ino;
            key.size = info.st_size;
            key.modified = info.st_mtim;
        }
    }
    return key;
}

std::shared_ptr<SSL_CTX> MakeContext(const StoreKey& key)
{
    SSL_CTX* raw = SSL_CTX_new(TLS_client_method());
    if (!raw)
        return nullptr;
    std::shared_ptr<SSL_CTX> context(raw, SSL_CTX_free);
    SSL_CTX_set_min_proto_version(raw, TLS1_2_VERSION);
    SSL_CTX_set_verify(raw, SSL_VERIFY_PEER, nullptr);
    const bool loaded = key.file.empty()
                            ? SSL_CTX_set_default_verify_paths(raw) == 1
                            : SSL_CTX_load_verify_locations(raw, key.file.c_str(), nullptr) == 1;
    if (!loaded)
        return nullptr;
    return context;
}

} // namespace

std::shared_ptr<SSL_CTX> ClientTlsContext()
{
    static std::mutex mutex;
    static StoreKey cachedKey;
    static std::shared_ptr<SSL_CTX> cached;

    const StoreKey key = CurrentKey();
    std::lock_guard lock(mutex);
    if (!cached || !(key == cachedKey))
    {
        cached = MakeContext(key);
        cachedKey = key;
    }
    return cached;
}

} // namespace platform::inet

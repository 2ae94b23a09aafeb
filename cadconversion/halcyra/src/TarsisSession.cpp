// TarsisSession: one per thread while its part objects live.
#include "TarsisSession.h"

#include <map>
#include <mutex>

namespace {

ComPtrT<ITarsisPartWriter> newPartWriter()
{
    ComPtrT<ITarsisPartWriter> writer;
    writer.CreateInstance(CLSID_TarsisPartWriter, nullptr, CLSCTX_LOCAL_SERVER);
    return writer;
}

ComPtrT<ITarsisShapeServer> newShapeServer()
{
    ComPtrT<ITarsisShapeServer> server;
    server.CreateInstance(CLSID_TarsisShapeServer, nullptr, kShapeServerContext);
    return server;
}

} // namespace

std::shared_ptr<TarsisSession> TarsisSession::ofThisThread()
{
    static std::mutex mutex;
    static std::map<std::thread::id, std::weak_ptr<TarsisSession>> sessions;
    const std::lock_guard lock(mutex);
    std::weak_ptr<TarsisSession>& slot = sessions[std::this_thread::get_id()];
    if (std::shared_ptr<TarsisSession> session = slot.lock())
        return session;
    std::erase_if(sessions, [](const auto& entry) { return entry.second.expired(); });
    std::shared_ptr<TarsisSession> session(new TarsisSession);
    sessions[std::this_thread::get_id()] = session;
    return session;
}

ComPtrT<ITarsisPartWriter> TarsisSession::partWriter()
{
    if (std::this_thread::get_id() != m_thread)
        return newPartWriter();
    if (!m_partWriter)
        m_partWriter = newPartWriter();
    return m_partWriter;
}

ComPtrT<ITarsisShapeServer> TarsisSession::shapeServer()
{
    if (std::this_thread::get_id() != m_thread)
        return newShapeServer();
    if (!m_shapeServer)
        m_shapeServer = newShapeServer();
    return m_shapeServer;
}

void TarsisSession::drop()
{
    if (std::this_thread::get_id() != m_thread)
        return;
    m_partWriter = nullptr;
    m_shapeServer = nullptr;
}

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

// The held server, made when there is none; on another thread a new one.
template <class Server>
ComPtrT<Server> TarsisSession::shared(ComPtrT<Server>& held, ComPtrT<Server> (*make)())
{
    if (std::this_thread::get_id() != m_thread)
        return make();
    if (!held)
        held = make();
    return held;
}

ComPtrT<ITarsisPartWriter> TarsisSession::partWriter()
{
    return shared(m_partWriter, &newPartWriter);
}

ComPtrT<ITarsisShapeServer> TarsisSession::shapeServer()
{
    return shared(m_shapeServer, &newShapeServer);
}

void TarsisSession::drop()
{
    if (std::this_thread::get_id() != m_thread)
        return;
    m_partWriter = nullptr;
    m_shapeServer = nullptr;
}

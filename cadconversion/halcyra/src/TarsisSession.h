// TarsisSession: the Tarsis part writer and shape server that the part
// objects of one thread share, so that a run of parts creates each server
// once instead of twice per part.
//
// Every part object takes the session of the thread that creates it and
// keeps it until its final release; the session, and with it the servers,
// lives as long as one part object of that thread does. A converter that
// makes its next part before it lets the last one go (the DSTV readers do)
// keeps one session for a whole run.
//
// When reuse is safe: only on the thread that made the servers (their
// apartment), and only after saves that succeeded; a failed save may leave
// a half-written part or a broken connection behind, so it drops both
// servers and the next save makes new ones. A server that cannot be made
// is not kept either: the next save tries again.
#pragma once

#include "TarsisServers.h"

#include "com/ComPtr.h"

#include <memory>
#include <thread>

class TarsisSession {
public:
    // The session of the calling thread, made when the thread has none.
    static std::shared_ptr<TarsisSession> ofThisThread();

    TarsisSession(const TarsisSession&) = delete;
    TarsisSession& operator=(const TarsisSession&) = delete;
    ~TarsisSession() = default;

    // The shared servers when called on the session's thread; on any other
    // thread a new one each time. An empty holder when creation fails.
    ComPtrT<ITarsisPartWriter> partWriter();
    ComPtrT<ITarsisShapeServer> shapeServer();

    // After a failed save: the next save makes new servers.
    void drop();

private:
    TarsisSession() = default;
    template <class Server>
    ComPtrT<Server> shared(ComPtrT<Server>& held, ComPtrT<Server> (*make)());

    std::thread::id m_thread = std::this_thread::get_id();
    ComPtrT<ITarsisPartWriter> m_partWriter;
    ComPtrT<ITarsisShapeServer> m_shapeServer;
};

// Reading compiled help files with chmlib.
#include "ChmFile.h"

#include <chm_lib.h>

#include <cstring>

namespace help {

std::unique_ptr<ChmFile> ChmFile::open(const std::string& path)
{
    chmFile* handle = chm_open(path.c_str());
    if (!handle)
        return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile(handle));
    // /#SYSTEM: a version, then records of (code, length, data); code 2 is
    // the default topic, 3 the title, both NUL-terminated texts.
    if (const auto system = file->read(QStringLiteral("/#SYSTEM"))) {
        const QByteArray& data = *system;
        qsizetype at = 4;
        while (at + 4 <= data.size()) {
            const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(data[i]); };
            const int code = byte(at) | (byte(at + 1) << 8);
            const int length = byte(at + 2) | (byte(at + 3) << 8);
            at += 4;
            if (at + length > data.size())
                break;
            const QByteArray value = data.mid(at, length);
            const QString text =
                QString::fromUtf8(value.constData(), qstrnlen(value.constData(), length));
            if (code == 2)
                file->m_defaultTopic = text;
            else if (code == 3)
                file->m_title = text;
            at += length;
        }
    }
    return file;
}

ChmFile::ChmFile(chmFile* handle) : m_handle(handle) {}

ChmFile::~ChmFile()
{
    chm_close(m_handle);
}

std::optional<QByteArray> ChmFile::read(const QString& path) const
{
    chmUnitInfo info;
    const QByteArray name = path.toUtf8();
    if (chm_resolve_object(m_handle, name.constData(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    QByteArray data(static_cast<qsizetype>(info.length), '\0');
    const LONGINT64 got =
        chm_retrieve_object(m_handle, &info, reinterpret_cast<unsigned char*>(data.data()), 0,
                            static_cast<LONGINT64>(info.length));
    if (got != static_cast<LONGINT64>(info.length))
        return std::nullopt;
    return data;
}

} // namespace help

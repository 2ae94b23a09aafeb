// A compiled help file opened with chmlib: its objects by path, its
// default topic and title.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <string>

struct chmFile;

namespace help {

class ChmFile {
public:
    // Null when the file cannot be opened or is no CHM.
    static std::unique_ptr<ChmFile> open(const std::string& path);
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // path is absolute inside the file ("/index.htm").
    std::optional<QByteArray> read(const QString& path) const;
    // From the /#SYSTEM object; empty when it has none.
    QString defaultTopic() const { return m_defaultTopic; }
    QString title() const { return m_title; }

private:
    explicit ChmFile(chmFile* handle);
    chmFile* m_handle;
    QString m_defaultTopic;
    QString m_title;
};

} // namespace help

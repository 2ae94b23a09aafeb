// The help window: a browser over the objects of one CHM.
#pragma once

#include "ChmFile.h"

#include <QTextBrowser>
#include <QWidget>

namespace help {

class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(const ChmFile& file, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    const ChmFile& m_file;
};

// A top-level window; with an owner it stays above the owner's window and
// closes with it.
class HelpWindow : public QWidget {
public:
    HelpWindow(std::unique_ptr<ChmFile> file, QWidget* owner);
    // False when the topic cannot be read.
    bool showTopic(const QString& topic);
    QString defaultTopic() const { return m_file->defaultTopic(); }

private:
    std::unique_ptr<ChmFile> m_file;
    HelpBrowser* m_browser;
};

} // namespace help

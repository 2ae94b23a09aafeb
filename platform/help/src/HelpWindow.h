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

class HelpWindow : public QWidget {
public:
    // Shows the default topic; false when it cannot be read.
    explicit HelpWindow(std::unique_ptr<ChmFile> file);
    bool showTopic(const QString& topic);

private:
    std::unique_ptr<ChmFile> m_file;
    HelpBrowser* m_browser;
};

} // namespace help

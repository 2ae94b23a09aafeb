// The help window. Topics are addressed as chm:/path inside the file, so
// relative links and images resolve against the page that names them.
#include "HelpWindow.h"

#include <QTextDocument>
#include <QVBoxLayout>

namespace help {

HelpBrowser::HelpBrowser(const ChmFile& file, QWidget* parent) : QTextBrowser(parent), m_file(file)
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl target = source().resolved(link);
        if (target.scheme() == QLatin1String("chm") && m_file.read(target.path()))
            setSource(target);
    });
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    const auto data = m_file.read(url.path());
    if (!data)
        return {};
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(*data);
    return *data;
}

HelpWindow::HelpWindow(std::unique_ptr<ChmFile> file, QWidget* owner)
    : QWidget(owner, Qt::Window), m_file(std::move(file)), m_browser(new HelpBrowser(*m_file, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    setFocusProxy(m_browser);
    setWindowTitle(m_file->title());
    resize(640, 480);
}

bool HelpWindow::showTopic(const QString& topic)
{
    const QString path = topic.startsWith(QLatin1Char('/')) ? topic : QLatin1Char('/') + topic;
    if (topic.isEmpty() || !m_file->read(path))
        return false;
    QUrl url;
    url.setScheme(QStringLiteral("chm"));
    url.setPath(path);
    m_browser->setSource(url, QTextDocument::HtmlResource);
    return true;
}

} // namespace help

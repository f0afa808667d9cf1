#include "FakeSystem.h"

FakeSystem::FakeSystem()
    : tempFolder(dir.path() + QLatin1Char('/'))
    , programFolder(dir.path())
{
}

bool FakeSystem::OpenUrl(const QUrl &url)
{
    openedUrls.append(url);
    return true;
}

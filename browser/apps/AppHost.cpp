#include "AppHost.h"

namespace {
AppHost *g_host = nullptr;
}

void AppHosting::setHost(AppHost *host)
{
    g_host = host;
}

AppHost *AppHosting::host()
{
    return g_host;
}

#include "DDESend.h"

#include "InstanceChannel.h"

bool DDESend(const QString &service, const QString &command)
{
    return InstanceChannel::send(service, command);
}

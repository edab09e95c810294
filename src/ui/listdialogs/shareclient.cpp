#include "listdialogs/shareclient.h"

#include "widgets/components.h"

std::unique_ptr<ShareClient> loadshareclient()
{
    auto *factory = loadcomponent<ShareClientFactory>(QString::fromLatin1(kNetworkComponent));
    return factory ? factory->newShareClient() : nullptr;
}

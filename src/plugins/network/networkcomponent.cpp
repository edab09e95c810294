#include "network/networkcomponent.h"

#include "network/sharenetwork.h"

std::unique_ptr<ShareClient> NetworkComponent::newShareClient()
{
    return std::make_unique<NetworkShareClient>();
}

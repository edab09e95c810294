#pragma once

#include "listdialogs/shareclient.h"

#include <QObject>
#include <QtPlugin>

// The network component: the sharing dialogs' client, with Qt Network, loaded at their first
// request.
class NetworkComponent : public QObject, public ShareClientFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VASKELIO_SHARECLIENT_IID)
    Q_INTERFACES(ShareClientFactory)

public:
    std::unique_ptr<ShareClient> newShareClient() override;
};

#include "NetworkAccess.h"

#include <QNetworkAccessManager>

namespace NetworkAccess {

QNetworkAccessManager& manager() {
    static QNetworkAccessManager* access = [] {
        auto* created = new QNetworkAccessManager;
        created->setAutoDeleteReplies(false);
        return created;
    }();
    return *access;
}

} // namespace NetworkAccess

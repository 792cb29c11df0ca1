#pragma once

class QNetworkAccessManager;

namespace NetworkAccess {

// The one network access manager of the program, made on first use.
QNetworkAccessManager& manager();

} // namespace NetworkAccess

#pragma once

#include <QString>

// The file name of a downloaded archive: the name built from the service's texts plus ".zip", with every
// character that cannot stand in a file name or that separates folders turned into "_", so the file always lands
// in the archive store itself.
QString archiveFileName(const QString& archiveName);

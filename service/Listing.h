#pragma once

#include <QString>
#include <QStringList>

// The service's listing: the text between the first "<PRE>" and the first "</PRE>" of the page (exact, upper
// case), one entry per line. Positions are not limited in size, so pages of any length work.
namespace Listing {

enum class MissingEnd {
    Undefined,  // the masthead and edition screens: the block runs as the marker arithmetic gives
    EmptyBlock, // the download screen: a page without "</PRE>" has an empty block
};

// The block cut out of the page text.
QString block(const QString& page, MissingEnd missingEnd = MissingEnd::Undefined);

// The entries of a block (CaricaElenco with LeggiRiga): each line feed ends an entry that runs from just after
// the previous line feed, or the start, to two characters before it, so the line feed and the character before
// it (the CR of CR LF) are dropped. Characters after the last line feed make no entry.
QStringList entries(const QString& block);

} // namespace Listing

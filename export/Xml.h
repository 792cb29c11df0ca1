#pragma once

#include <QString>

namespace Xml {

// The text fit for XML content and attribute values: &, <, >, " and ' escaped, characters XML cannot hold (control
// characters, lone surrogates) left out.
QString escaped(const QString& text);

} // namespace Xml

#pragma once

#include "platform/components/properties.h"

namespace rv {

class TVirtualTreeColumn;

// A column's published properties, as a form keeps each item of the tree's "Columns": the
// enumerations and the option set by their names. A store loads them in the order of their names,
// which sets the width's limits before the width and the options after the colour and the reading
// order.
void PublishColumnProperties(TVirtualTreeColumn& column, TPropList& list);

}  // namespace rv

#pragma once

#include "platform/components/properties.h"

namespace rv {

class TVirtualTreeColumn;

// A column's published properties, as a form keeps each item of the tree's "Columns": the
// enumerations and the option set by their names. Listed in the order loading must set them: the
// width's limits before the width, the options after the colour and the reading order whose
// setters drop coParentColor and coParentBidiMode.
void PublishColumnProperties(TVirtualTreeColumn& column, TPropList& list);

}  // namespace rv

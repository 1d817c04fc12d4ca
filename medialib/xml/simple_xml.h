#pragma once

// The XML document library: counted nodes in a shared name table, read from and written to
// XML text.
#include "medialib/xml/name_table.h"
#include "medialib/xml/xml_document.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_node.h"
#include "medialib/xml/xml_nodes.h"
#include "medialib/xml/xml_value.h"

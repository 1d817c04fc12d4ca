#pragma once

// The XML document library: counted nodes in a name table shared by a thread's documents, read
// from and written to XML text or the binary form; typed values and Base64.
#include "medialib/xml/base64.h"
#include "medialib/xml/binary_xml.h"
#include "medialib/xml/name_table.h"
#include "medialib/xml/number_text.h"
#include "medialib/xml/value_convert.h"
#include "medialib/xml/xml_date_time.h"
#include "medialib/xml/xml_document.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_node.h"
#include "medialib/xml/xml_nodes.h"
#include "medialib/xml/xml_value.h"

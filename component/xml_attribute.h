// Reading an XML element's attribute as a wide text.
#ifndef HBAFW_COMPONENT_XML_ATTRIBUTE_H_
#define HBAFW_COMPONENT_XML_ATTRIBUTE_H_

#include <libxml/tree.h>

#include <string>

// The value of the attribute `name` (exact, case-sensitive) of `element`,
// one wide character per byte. Empty when the element has no such attribute
// or its value has no text. Never fails.
std::wstring XmlAttributeText(const xmlNode* element, const std::string& name);

#endif  // HBAFW_COMPONENT_XML_ATTRIBUTE_H_

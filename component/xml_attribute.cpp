#include "component/xml_attribute.h"

#include <cstring>

#include "component/text_convert.h"

std::wstring XmlAttributeText(const xmlNode* element, const std::string& name) {
  std::wstring result;
  if (element == nullptr) return result;
  for (const xmlAttr* attr = element->properties; attr != nullptr; attr = attr->next) {
    if (attr->name == nullptr ||
        std::strcmp(reinterpret_cast<const char*>(attr->name), name.c_str()) != 0)
      continue;
    // The value is held as the attribute node's children: usually one text
    // node, but entity references split it, so take the whole list.
    xmlChar* value = xmlNodeListGetString(element->doc, attr->children, 1);
    result = value != nullptr ? WidenBytes(reinterpret_cast<const char*>(value)) : std::wstring();
    xmlFree(value);
  }
  return result;
}

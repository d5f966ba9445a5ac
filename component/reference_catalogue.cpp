#include "component/reference_catalogue.h"

#include <libxml/parser.h>

#include <cstring>

#include "component/run_command.h"
#include "component/text_convert.h"
#include "component/xml_attribute.h"

namespace {

const char kCatalogueFile[] = "reference.xml";

// Only elements count: a document type declaration carries the root's name
// too, and descending into it would lose the real root element.
bool IsNamed(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && node->name != nullptr &&
         std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// A path element counts only when a CDATA section follows its start tag
// immediately; white space or plain text first leaves the field as it was.
void ReadCdataField(const xmlNode* element, std::wstring* field) {
  const xmlNode* first = element->children;
  if (first == nullptr || first->type != XML_CDATA_SECTION_NODE) return;
  const char* content = reinterpret_cast<const char*>(first->content);
  *field = WidenBytes(content != nullptr ? content : "");
}

}  // namespace

bool ReferenceCatalogue::Load() {
  if (!FileExists(kCatalogueFile)) return false;
  xmlInitParser();
  xmlDoc* document = xmlParseFile(kCatalogueFile);
  if (document == nullptr) return false;
  Walk(document->children);
  // Nothing of the tree is used after the walk.
  xmlFreeDoc(document);
  xmlCleanupParser();
  return true;
}

// Goes along one level of siblings. The root element is entered, and the
// walk continues with its children without coming back up, so the
// recognised names are found at whichever level the walk reaches them.
void ReferenceCatalogue::Walk(const xmlNode* node) {
  while (node != nullptr) {
    if (IsNamed(node, "varnix_fchba_reference")) {
      node = node->children;
      continue;
    }
    if (IsNamed(node, "discovery_app_path")) {
      ReadCdataField(node, &discovery_app_path);
    } else if (IsNamed(node, "installer_app_path")) {
      ReadCdataField(node, &installer_app_path);
    } else if (IsNamed(node, "devices")) {
      ReadDevices(node);
    }
    node = node->next;
  }
}

void ReferenceCatalogue::ReadDevices(const xmlNode* container) {
  for (const xmlNode* child = container->children; child != nullptr; child = child->next) {
    if (IsNamed(child, "device")) devices.push_back(ReadDevice(child));
  }
}

ReferenceDevice ReferenceCatalogue::ReadDevice(const xmlNode* device) {
  ReferenceDevice entry;
  struct Field {
    const char* name;
    std::wstring ReferenceDevice::*member;
  };
  static const Field kFields[] = {
      {"type", &ReferenceDevice::type},         {"device_id", &ReferenceDevice::device_id},
      {"model", &ReferenceDevice::model},       {"firmware", &ReferenceDevice::firmware},
      {"bios", &ReferenceDevice::bios},         {"boot", &ReferenceDevice::boot},
      {"duration", &ReferenceDevice::duration},
  };
  for (const xmlNode* child = device->children; child != nullptr; child = child->next) {
    for (const Field& field : kFields) {
      if (!IsNamed(child, field.name)) continue;
      entry.*field.member = XmlAttributeText(child, "value");
      if (field.member == &ReferenceDevice::bios && entry.bios.empty()) entry.bios_state = 0;
    }
  }
  return entry;
}

// The self-discovery report: an XML document of what discovery found and
// what the component would do to each firmware item, saved at the path that
// followed "/d". Leaves carry their text in a "value" attribute; each wide
// character is written as its low 8 bits.
#include <libxml/tree.h>

#include <cwchar>

#include "component/base_cmp.h"

namespace {

std::string LowBytes(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes.push_back(static_cast<char>(static_cast<unsigned char>(c)));
  return bytes;
}

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

void AddLeaf(xmlNode* parent, const char* name, const std::wstring& value) {
  xmlNode* leaf = xmlNewChild(parent, nullptr, X(name), nullptr);
  xmlNewProp(leaf, X("value"), X(LowBytes(value).c_str()));
}

void AddFirmwareItem(xmlNode* device, const FirmwareItem& item) {
  xmlNode* node = xmlNewChild(device, nullptr, X("fw_item"), nullptr);
  AddLeaf(node, "type", item.type);
  AddLeaf(node, "firmware_id", item.firmware_id);
  AddLeaf(node, "version", item.version);
  AddLeaf(node, "active_version", item.active_version);
  AddLeaf(node, "action", item.action);
  AddLeaf(node, "duration", item.duration);
  AddLeaf(node, "message", item.message);
  AddLeaf(node, "shared", item.shared);
}

void AddDevice(xmlNode* devices, const DeviceRecord& record) {
  xmlNode* device = xmlNewChild(devices, nullptr, X("device"), nullptr);
  AddLeaf(device, "device_id", record.device_id);
  AddLeaf(device, "product_id", record.product_id);
  AddLeaf(device, "busnumber", record.busnumber);
  AddLeaf(device, "funcnumber", record.funcnumber);
  for (const FirmwareItem& item : record.fw_items) AddFirmwareItem(device, item);
}

}  // namespace

int CBaseCmp::WriteDiscoveryXml() {
  xmlDoc* document = xmlNewDoc(nullptr);
  if (document == nullptr) return 0;
  xmlNode* root = xmlNewNode(nullptr, X("kelto_rom_discovery"));
  xmlNewProp(root, X("version"), X("2.0.0.0"));
  xmlDocSetRootElement(document, root);
  AddLeaf(root, "type", report.type);
  AddLeaf(root, "alt_name", report.alt_name);
  AddLeaf(root, "version", report.version);
  AddLeaf(root, "takes_effect", report.takes_effect);
  xmlNode* devices = xmlNewChild(root, nullptr, X("devices"), nullptr);
  for (const DeviceRecord& record : report.devices) AddDevice(devices, record);
  // A report that could not be saved did not happen: the run says FAILED!
  // for it, as for a document that could not be created.
  const int saved = xmlSaveFormatFile(discovery_path.c_str(), document, 1);
  xmlFreeDoc(document);
  return saved < 0 ? 0 : 1;
}

int CBaseCmp::FindReferenceDevice(std::wstring text) {
  for (size_t i = 0; i < catalogue.devices.size(); ++i) {
    if (wcscasecmp(text.c_str(), catalogue.devices[i].device_id.c_str()) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

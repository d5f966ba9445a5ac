// The package's catalogue "reference.xml": the adapter models the package
// supports and the firmware versions it ships, read once per run from the
// working directory.
#ifndef HBAFW_COMPONENT_REFERENCE_CATALOGUE_H_
#define HBAFW_COMPONENT_REFERENCE_CATALOGUE_H_

#include <libxml/tree.h>

#include <string>
#include <vector>

struct ReferenceDevice {
  std::wstring type;
  std::wstring device_id;
  std::wstring model;
  std::wstring firmware;
  std::wstring bios;
  std::wstring boot;
  std::wstring duration;
  // 2 for every entry; 0 when its "bios" element gave the empty text.
  int bios_state = 2;
};

class ReferenceCatalogue {
 public:
  // Reads "reference.xml" from the working directory. False when the file
  // does not exist (nothing printed) or is not well-formed XML (libxml2
  // prints its diagnostics on standard error). A well-formed file with
  // nothing recognisable in it gives an empty catalogue and true.
  bool Load();

  std::wstring discovery_app_path;
  std::wstring installer_app_path;
  std::vector<ReferenceDevice> devices;

 private:
  void Walk(const xmlNode* node);
  void ReadDevices(const xmlNode* container);
  static ReferenceDevice ReadDevice(const xmlNode* device);
};

#endif  // HBAFW_COMPONENT_REFERENCE_CATALOGUE_H_

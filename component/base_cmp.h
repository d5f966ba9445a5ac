// CBaseCmp: the vendor-independent firmware-update component. It owns the
// run's log, adapter inventory, catalogue and discovery report, parses the
// command line and walks the run sequence; the vendor back-ends derive from
// it and replace the virtual steps.
//
// Exit codes: 7 when a precondition fails (command line, catalogue,
// discovery), 3 when nothing was done, otherwise the back-end's Flash result.
#ifndef HBAFW_COMPONENT_BASE_CMP_H_
#define HBAFW_COMPONENT_BASE_CMP_H_

#include <string>

#include "component/component_log.h"
#include "component/device_record.h"
#include "component/reference_catalogue.h"
#include "hba/adapter_inventory.h"

// The catalogue identity for an adapter's PCI ids and subsystem ids as the
// inventory holds them: each one left out when it is "N/A" (in any case),
// the rest cut into groups of four characters joined by dots.
std::wstring IdentityText(const char* pci_ids, const char* subsystem_ids);

class CBaseCmp {
 public:
  CBaseCmp() = default;
  CBaseCmp(const CBaseCmp&) = delete;
  CBaseCmp& operator=(const CBaseCmp&) = delete;

  // Members are released in reverse declaration order.
  virtual ~CBaseCmp() = default;

  // 1: accepted; 2: help asked for, usage printed; 0: "/d" without a path,
  // usage printed.
  int ParseCommandLine(int argc, char** argv);

  // The six usage lines, straight to standard output whatever `silent` says.
  void PrintUsage();

  // The run sequence; returns the process exit code.
  int Run();

  // True when the run may go on. The base form asks the adapter inventory.
  virtual bool Discover();
  // The back-end's reading of an active version; the base keeps it as is.
  virtual std::wstring NormalizeVersion(std::wstring text);
  // Matches adapters against the catalogue into `report.devices`.
  virtual void BuildDevices();
  // 0 when the vendor kit is ready.
  virtual int PrepareKit();
  // Runs the vendor tool; returns the run's exit code.
  virtual int Flash();
  // 1 when the report document was created and handed to the writer.
  virtual int WriteDiscoveryXml();
  // Index into `catalogue.devices` of the entry for `text`, or -1.
  virtual int FindReferenceDevice(std::wstring text);

  // Package version against active version: 1 when the package's is newer,
  // 0 when equal, -1 when older. Never fails, whatever the texts hold.
  int CompareVersions(const std::wstring& package, const std::wstring& active) const;

  // 1 if any firmware item is "upgrade", else 4 for "downgrade", else 2 for
  // "rewrite", else 0.
  int UpdateNeeded() const;
  bool HasDevices() const;

  // The adapter's catalogue identity: its PCI ids then subsystem ids as
  // lower-case hexadecimal digits, in groups of four joined by dots.
  std::wstring AdapterIdentity(size_t i) const;

 protected:
  ComponentLog log;
  bool silent = false;
  bool discovery_mode = false;
  bool force = false;
  AdapterInventory adapters;
  ReferenceCatalogue catalogue;
  DiscoveryReport report;
  std::string discovery_path;
};

#endif  // HBAFW_COMPONENT_BASE_CMP_H_

// hbafw (the QLogic program) end to end on the simulated machine: the
// adapters found through the simulated vendor library and sysfs, the
// self-discovery report byte for byte, and flash runs through the stand-in
// engine with the whole log.
#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <string>

#include "hba/registry.h"
#include "sim/hba_machine.h"

namespace {

const char kTree[] =
    "/sys/devices/pci0000:00/0000:00:03.0 0x8086 0x0c01 0x8086 0x7270\n"
    "/sys/devices/pci0000:00/0000:00:03.0/0000:04:00.0 0x1077 0x2532 0x1077 0x015d\n"
    "/sys/devices/pci0000:00/0000:00:1c.0/0000:05:00.0 0x1077 0x2532 0x1077 0x015d\n"
    "/sys/devices/pci0000:00/0000:00:1d.0/0000:06:00.0 0x1077 0x2031 0x1077 0x0256\n";

// An adapter at bus `bus` with the given boot ROM text; bus 6 holds a model
// that the catalogue does not know.
std::string Adapter(int bus, const std::string& option_rom) {
  const std::string n = std::to_string(bus);
  return SimQLogicAdapter("qlogic-" + n, "20:00:00:1b:32:00:00:0" + n,
                          bus == 6 ? "0x02561077" : "0x015d1077", bus,
                          "option_rom_version " + option_rom + "\n");
}

std::string Catalogue(const std::string& model = "QLE2562") {
  return "<?xml version=\"1.0\"?>\n<varnix_fchba_reference>\n  <devices>\n"
         "    <device>\n      <type value=\"Fibre Channel HBA\"/>\n"
         "      <device_id value=\"1077.2532.1077.015D\"/>\n"
         "      <model value=\"" +
         model +
         "\"/>\n      <bios value=\"2.10\"/>\n      <duration value=\"120\"/>\n"
         "    </device>\n  </devices>\n</varnix_fchba_reference>\n";
}

std::string DeviceXml(const std::string& product, const std::string& active,
                      const std::string& action) {
  return "    <device>\n"
         "      <device_id value=\"1077.2532.1077.015D\"/>\n"
         "      <product_id value=\"" +
         product +
         "\"/>\n"
         "      <busnumber value=\"\"/>\n"
         "      <funcnumber value=\"\"/>\n"
         "      <fw_item>\n"
         "        <type value=\"Boot BIOS ROM\"/>\n"
         "        <firmware_id value=\"\"/>\n"
         "        <version value=\"2.10\"/>\n"
         "        <active_version value=\"" +
         active +
         "\"/>\n"
         "        <action value=\"" +
         action +
         "\"/>\n"
         "        <duration value=\"120\"/>\n"
         "        <message value=\"\"/>\n"
         "        <shared value=\"no\"/>\n"
         "      </fw_item>\n"
         "    </device>\n";
}

std::string ReportXml(const std::string& devices) {
  return "<?xml version=\"1.0\"?>\n"
         "<kelto_rom_discovery version=\"2.0.0.0\">\n"
         "  <type value=\"Fibre Channel HBA\"/>\n"
         "  <alt_name value=\"\"/>\n"
         "  <version value=\"\"/>\n"
         "  <takes_effect value=\"\"/>\n" +
         (devices.empty() ? "  <devices/>\n" : "  <devices>\n" + devices + "  </devices>\n") +
         "</kelto_rom_discovery>\n";
}

const std::string kHead =
    "---------------------------------------------------\n"
    "Loading references...done.\n"
    "Performing discovery...\n";
// The first child element of `parent` named `name`, or null.
const xmlNode* Child(const xmlNode* parent, const char* name) {
  for (const xmlNode* n = parent != nullptr ? parent->children : nullptr; n; n = n->next) {
    if (n->type == XML_ELEMENT_NODE && xmlStrcmp(n->name, BAD_CAST name) == 0) return n;
  }
  return nullptr;
}

}  // namespace

class QLogicProgramTest : public HbaMachine {
 protected:
  // The machine: adapters at the given buses with their boot ROM texts.
  void Install(const std::vector<std::pair<int, std::string>>& adapters) {
    BuildSysfs(kTree);
    std::string description;
    for (const auto& a : adapters) description += Adapter(a.first, a.second);
    InstallLibrary("/usr/lib/libqlsdm.so", description);
    WriteHbaConf("qla2xxx\t/usr/lib/libqlsdm.so\n");
  }
};

TEST_F(QLogicProgramTest, DiscoveryReports) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, std::string>> adapters;
    std::string model;
    std::string devices;
  } cases[] = {
      {"one matched adapter",
       {{4, "v.2.02 (boot)"}},
       "QLE2562",
       DeviceXml("QLE2562", "2.02", "upgrade")},
      {"an unmatched adapter is left out", {{6, "1.00"}}, "QLE2562", ""},
      {"two adapters matching one entry",
       {{4, "2.10"}, {6, "1.0"}, {5, "3.0"}},
       "QLE2562",
       DeviceXml("QLE2562", "2.10", "rewrite") + DeviceXml("QLE2562", "3.0", "downgrade")},
      {"markup characters are escaped",
       {{4, "2.10"}},
       "Q&amp;L&lt;E&quot;",
       DeviceXml("Q&amp;L&lt;E&quot;", "2.10", "rewrite")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Install(c.adapters);
    WriteFile("reference.xml", Catalogue(c.model));
    const ProgramResult run = RunProgram({"/d", "report.xml"});
    EXPECT_EQ(run.exit_code, 3);
    EXPECT_EQ(run.out, kHead + "Generating self-discovery XML...done.\n");
    EXPECT_EQ(ReadFile("report.xml"), ReportXml(c.devices));
  }
}

TEST_F(QLogicProgramTest, AnEscapedValueReadsBackUnchanged) {
  Install({{4, "2.02"}});
  WriteFile("reference.xml", Catalogue("Q&amp;L&lt;E&quot;&gt;"));
  ASSERT_EQ(RunProgram({"/d", "report.xml", "/s"}).exit_code, 3);
  xmlDoc* doc = xmlReadFile("report.xml", nullptr, 0);
  ASSERT_NE(doc, nullptr);
  const xmlNode* devices = Child(xmlDocGetRootElement(doc), "devices");
  const xmlNode* product = Child(Child(devices, "device"), "product_id");
  ASSERT_NE(product, nullptr);
  xmlChar* value = xmlGetProp(product, BAD_CAST "value");
  EXPECT_STREQ(reinterpret_cast<const char*>(value), "Q&L<E\">");
  xmlFree(value);
  xmlFreeDoc(doc);
}

TEST_F(QLogicProgramTest, ReportPaths) {
  Install({{4, "2.02"}});
  WriteFile("reference.xml", Catalogue());
  Shell("mkdir -p sub");
  EXPECT_EQ(RunProgram({"-d", "sub/r.xml", "-s"}).exit_code, 3);
  EXPECT_EQ(ReadFile("sub/r.xml"), ReportXml(DeviceXml("QLE2562", "2.02", "upgrade")));
  // "-" is standard output, after the texts of the run.
  ProgramResult run = RunProgram({"/d", "-"});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, kHead + "Generating self-discovery XML..." +
                         ReportXml(DeviceXml("QLE2562", "2.02", "upgrade")) + "done.\n");
  // A report that cannot be saved failed: the run says so, and still exits 3.
  for (const char* path : {"no/such/dir/r.xml", "", "sub"}) {
    SCOPED_TRACE(path);
    run = RunProgram({"/d", path});
    EXPECT_EQ(run.exit_code, 3);
    EXPECT_EQ(run.out, kHead + "Generating self-discovery XML...FAILED!\ndone.\n");
  }
}

TEST_F(QLogicProgramTest, FlashCommandAndWholeLog) {
  struct Case {
    std::vector<std::string> args;
    std::string engine_args;
  } cases[] = {
      {{}, ""},
      {{"/s"}, "/s"},
      {{"-f"}, "/f"},
      {{"/f", "-s"}, "/s /f"},
      {{"/e", "/s", "/g"}, "/s /f"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.engine_args);
    Shell("rm -f /var/ostra/Component.log keltoqlafwupdate.args");
    Install({{4, "2.02"}});
    WriteFile("reference.xml", Catalogue());
    InstallFlashEngine("keltoqlafwupdate", "0");
    const ProgramResult run = RunProgram(c.args);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(EngineArgs("keltoqlafwupdate"), c.engine_args + "\n");
    const std::string command =
        "./keltoqlafwupdate" + (c.engine_args.empty() ? "" : " " + c.engine_args);
    const std::string lines = kHead + "Performing flash -- DO NOT INTERRUPT!\n" +
                              "Executing flash engine: " + command + "\n";
    const std::string tail = "Flash Engine exit code: 0\nFlash complete [1]\n";
    EXPECT_EQ(LogText(), lines + "keltoqlafwupdate: out " + c.engine_args +
                             "\nkeltoqlafwupdate: err\nkeltoqlafwupdate: fd3\n" + tail);
    const bool silent = c.engine_args.find("/s") != std::string::npos;
    EXPECT_EQ(run.out, silent ? "" : lines + tail);
  }
}

TEST_F(QLogicProgramTest, EngineExitBytes) {
  const std::pair<std::string, int> cases[] = {{"0", 1},   {"1", 3},   {"2", 7},
                                               {"11", 11}, {"14", 7},  {"15", 15},
                                               {"17", 7},  {"18", 18}, {"missing", 127}};
  Install({{4, "2.02"}});
  WriteFile("reference.xml", Catalogue());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    Shell("rm -f keltoqlafwupdate");
    if (c.first != "missing") InstallFlashEngine("keltoqlafwupdate", c.first);
    const ProgramResult run = RunProgram({"/s"});
    EXPECT_EQ(run.exit_code, c.second);
    const int exit_byte = c.first == "missing" ? 127 : std::stoi(c.first);
    EXPECT_NE(LogText().find("Flash Engine exit code: " + std::to_string(exit_byte) +
                             "\nFlash complete [" + std::to_string(c.second) + "]\n"),
              std::string::npos);
  }
}

TEST_F(QLogicProgramTest, DecisionWithoutAnUpgrade) {
  InstallFlashEngine("keltoqlafwupdate", "0");
  WriteFile("reference.xml", Catalogue());
  Install({{4, "2.10"}, {5, "3.00"}});  // a rewrite and a downgrade
  ProgramResult run = RunProgram({});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, kHead + "NOTICE : No operation was done.\n");
  EXPECT_FALSE(Exists("keltoqlafwupdate.args"));
  run = RunProgram({"/f"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(EngineArgs("keltoqlafwupdate"), "/f\n");

  Install({{6, "1.0"}});  // nothing recognised
  run = RunProgram({});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, kHead + "NOTICE : No operation was done.\n");
  run = RunProgram({"-g"});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, kHead + "ERROR! : No supported hardware was found.\n");
}

#include "component/reference_catalogue.h"

#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"

namespace {

// Fields of one device entry in the order of the record, then bios_state.
struct Entry {
  std::wstring type, device_id, model, firmware, bios, boot, duration;
  int bios_state;
};

Entry Of(const ReferenceDevice& d) {
  return {d.type, d.device_id, d.model, d.firmware, d.bios, d.boot, d.duration, d.bios_state};
}

bool operator==(const Entry& a, const Entry& b) {
  return a.type == b.type && a.device_id == b.device_id && a.model == b.model &&
         a.firmware == b.firmware && a.bios == b.bios && a.boot == b.boot &&
         a.duration == b.duration && a.bios_state == b.bios_state;
}

std::ostream& operator<<(std::ostream& os, const Entry& e) {
  auto n = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
  return os << "{" << n(e.type) << "|" << n(e.device_id) << "|" << n(e.model) << "|"
            << n(e.firmware) << "|" << n(e.bios) << "|" << n(e.boot) << "|" << n(e.duration) << "|"
            << e.bios_state << "}";
}

const char kFullDevice[] =
    "<device><type value=\"HBA\"/><device_id value=\"1077.2532.1077.015c\"/>"
    "<model value=\"QLE2562\"/><firmware value=\"5.06.05\"/><bios value=\"3.28\"/>"
    "<boot value=\"b\"/><duration value=\"120\"/></device>";

struct Case {
  const char* name;
  std::string xml;
  std::wstring discovery_app_path, installer_app_path;
  std::vector<Entry> devices;
};

}  // namespace

class ReferenceCatalogueTest : public SimMachine {};

TEST_F(ReferenceCatalogueTest, LoadsWhatTheWalkMeets) {
  const Entry full{L"HBA", L"1077.2532.1077.015c", L"QLE2562", L"5.06.05", L"3.28", L"b", L"120",
                   2};
  const Entry empty{L"", L"", L"", L"", L"", L"", L"", 2};
  const std::string root = "<varnix_fchba_reference>";
  const std::string end = "</varnix_fchba_reference>";
  const Case cases[] = {
      {"full entry",
       root + "\n  <devices>\n    " + kFullDevice + "\n  </devices>\n" + end,
       L"",
       L"",
       {full}},
      {"root's first child is an element",
       root + "<devices>" + kFullDevice + "</devices>" + end,
       L"",
       L"",
       {full}},
      {"cdata paths",
       root + "<discovery_app_path><![CDATA[./disc x]]></discovery_app_path>" +
           "<installer_app_path><![CDATA[ ./inst ]]></installer_app_path>" + end,
       L"./disc x",
       L" ./inst ",
       {}},
      {"paths as plain text or after white space",
       root + "<discovery_app_path>./disc</discovery_app_path>" +
           "<installer_app_path> <![CDATA[./inst]]></installer_app_path>" + end,
       L"",
       L"",
       {}},
      {"empty path element", root + "<discovery_app_path/>" + end, L"", L"", {}},
      {"two devices lists in document order",
       root + "<devices><device><model value=\"A\"/></device></devices>" +
           "<devices><device><model value=\"B\"/></device><other/></devices>" + end,
       L"",
       L"",
       {{L"", L"", L"A", L"", L"", L"", L"", 2}, {L"", L"", L"B", L"", L"", L"", L"", 2}}},
      {"empty bios value clears bios_state",
       root + "<devices><device><bios value=\"\"/></device></devices>" + end,
       L"",
       L"",
       {{L"", L"", L"", L"", L"", L"", L"", 0}}},
      {"no bios element keeps bios_state",
       root + "<devices><device/></devices>" + end,
       L"",
       L"",
       {empty}},
      {"field without value attribute, later value wins, content ignored",
       root +
           "<devices><device><type/><model value=\"X\"/><model value=\"Y\">Z</model>"
           "<Model value=\"no\"/></device></devices>" +
           end,
       L"",
       L"",
       {{L"", L"", L"Y", L"", L"", L"", L"", 2}}},
      {"device outside devices is ignored",
       root + "<device><model value=\"X\"/></device>" + end,
       L"",
       L"",
       {}},
      {"names differing in case are not recognised",
       root + "<Devices>" + kFullDevice + "</Devices>" + end,
       L"",
       L"",
       {}},
      {"another root element gives an empty catalogue",
       "<other><devices>" + std::string(kFullDevice) + "</devices></other>",
       L"",
       L"",
       {}},
      {"devices as the root element",
       "<devices>" + std::string(kFullDevice) + "</devices>",
       L"",
       L"",
       {full}},
      {"document type declaration before the root",
       "<!DOCTYPE varnix_fchba_reference>" + root + "<devices>" + kFullDevice + "</devices>" + end,
       L"",
       L"",
       {full}},
      {"escaped markup in values",
       root + "<devices><device><model value=\"a&amp;b&lt;&quot;\"/></device></devices>" + end,
       L"",
       L"",
       {{L"", L"", L"a&b<\"", L"", L"", L"", L"", 2}}},
      {"bytes above 0x7f become one character each",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + root +
           "<devices><device><model value=\"\xe9\"/></device></devices>" + end,
       L"",
       L"",
       {{L"", L"", L"\xc3\xa9", L"", L"", L"", L"", 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile("reference.xml", c.xml);
    ReferenceCatalogue catalogue;
    ASSERT_TRUE(catalogue.Load());
    EXPECT_EQ(catalogue.discovery_app_path, c.discovery_app_path);
    EXPECT_EQ(catalogue.installer_app_path, c.installer_app_path);
    std::vector<Entry> got;
    for (const ReferenceDevice& d : catalogue.devices) got.push_back(Of(d));
    EXPECT_EQ(got, c.devices);
  }
}

TEST_F(ReferenceCatalogueTest, FailsWithoutAWellFormedFile) {
  ReferenceCatalogue missing;
  EXPECT_FALSE(missing.Load());
  const char* broken[] = {"", "<varnix_fchba_reference>", "not xml at all", "<a></b>"};
  for (const char* xml : broken) {
    WriteFile("reference.xml", xml);
    ReferenceCatalogue catalogue;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(catalogue.Load()) << xml;
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(catalogue.devices.empty());
  }
  Shell("rm reference.xml && mkdir reference.xml");
  ReferenceCatalogue directory;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(directory.Load());
  testing::internal::GetCapturedStderr();
}

#include "library/TypeLibrary.h"

#include <cstdio>

#include "foundation/GZorva.h"
#include "foundation/clsFileSystemObj.h"
#include "library/ClassTable.h"
#include "list/LItemObject.h"
#include "platform/host/NoCase.h"
#include "platform/services/Registry.h"

namespace zxp::library {

std::string Guid::toString() const {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(Data1),
                Data2, Data3, Data4[0], Data4[1], Data4[2], Data4[3], Data4[4], Data4[5], Data4[6], Data4[7]);
  return buf;
}

bool Guid::parse(std::string_view t, Guid& out) {
  Guid g;
  if (!services::parseClassId(t, g.Data1, g.Data2, g.Data3, g.Data4.data())) return false;
  out = g;
  return true;
}

const std::vector<TypeLibraryEntry>& typeLibrary() {
  // Class identifier, default interface, event interface. Fixed for good: never change a row.
  static const std::vector<TypeLibraryEntry> rows = {
    {"ZorvaXP", ClassKind::TypeLibrary, Instancing::NotCreatable, guid("B4E83A7A-E2F3-4362-A165-6D62B1E62135"), {}, {}},
    {"ZorvaForm", ClassKind::Control, Instancing::Creatable, guid("2967FBAB-E4DE-4C5C-8AC0-C69CE2D000D1"), guid("1BB32150-AB3F-4476-998A-5744910FF776"), guid("4D969895-F851-4077-9A85-507CDD4534B5")},
    {"ZorvaXPListBox", ClassKind::Control, Instancing::Creatable, guid("5A947ABC-8D63-4F8B-86FB-C618852993E1"), guid("D67FE505-8F61-44AE-9834-008A275676D6"), guid("6D53BE05-11B2-466D-97B9-7EF9ECE055BD")},
    {"ZorvaXPProgressBar", ClassKind::Control, Instancing::Creatable, guid("34CF14A0-B271-4843-B61D-7016DC2B1052"), guid("03FC2EC6-BB0D-42FF-A17A-7C379DB24F7E"), guid("72E00221-84E8-4D41-9519-633E85FBD25E")},
    {"ZorvaXPDPicker", ClassKind::Control, Instancing::Creatable, guid("41778265-FC19-4111-BB05-31B4F97D0062"), guid("3573302B-D698-4D89-B8E5-44B806E3C26E"), guid("D3A0BC5D-4028-4D7F-8A0D-F8E412F9194A")},
    {"ZorvaXPCalender", ClassKind::Control, Instancing::Creatable, guid("3B6752CE-A0E6-4454-A469-CD51ED55DDB2"), guid("1B019824-C575-4A53-89DF-FCD500AC2AA6"), guid("5E14C6D6-EC27-4C19-8836-686EC409149E")},
    {"ZorvaXPTextBox", ClassKind::Control, Instancing::Creatable, guid("84FA3FFA-FE7D-424A-A95B-02FA5990C28A"), guid("57DF22DD-F999-40D0-ACDE-14AF4A4CF8B0"), guid("3910E7C4-416C-4E76-83CF-7419D42DE83A")},
    {"ZorvaXPSpin", ClassKind::Control, Instancing::Creatable, guid("0AB2573F-2F25-47AA-B79F-C0C772800378"), guid("14FCED94-E58E-440A-A49F-916E19898DB8"), guid("25C5B14A-42F1-4BFB-B05F-DDEF70BAA5F3")},
    {"ZorvaXpImageList", ClassKind::Control, Instancing::Creatable, guid("A354A309-C22B-4CCA-89E2-D2E6568387FA"), guid("34E5EA3F-972B-48D8-B21D-2DD2E3EC5306"), guid("2048D6AD-9CF0-4C29-A7DD-52099723CCED")},
    {"ZorvaXPOptionButton", ClassKind::Control, Instancing::Creatable, guid("A29FDB88-672A-4F4C-BA0B-EED32A5B8F0B"), guid("05B12016-EAA8-4FE3-9E1A-A08F2EA2EF2A"), guid("176C3EC3-A22F-4097-844A-A15EBDA8D697")},
    {"ZorvaXPStatusBar", ClassKind::Control, Instancing::Creatable, guid("F5E57DB7-4532-40F2-8638-119DCA6D6555"), guid("3BFFE631-0534-4410-B9B1-BBD191830DEF"), guid("A0779FDD-18A4-4430-94AB-8FF4F99D81CE")},
    {"ZorvaXPHookTab", ClassKind::Control, Instancing::Creatable, guid("6AB24FCD-F216-4E61-A5F2-834E68EFEE70"), guid("D153BC27-F8A6-4D3A-BA57-29F12990B9A7"), guid("3A98EB11-2266-42C8-B056-40545774FCA3")},
    {"ZorvaXPButton", ClassKind::Control, Instancing::Creatable, guid("F0258128-F47D-4EE0-AD46-CFD8255ADEA6"), guid("984B6C70-C70E-4659-B96B-B9935721AE2D"), guid("62F86D9A-4173-4F29-8CD6-329848ADFF88")},
    {"ZorvaXPToolBar", ClassKind::Control, Instancing::Creatable, guid("5750F014-E18B-4DC6-B75E-7BDF6092CF97"), guid("B0B4A4FF-75B2-4832-91E0-039EBE577674"), guid("1A7D960D-1E65-444F-9C65-CAD910AA03CA")},
    {"ZorvaXPVScrollBar", ClassKind::Control, Instancing::Creatable, guid("A3BE2F36-459A-40FE-941C-908A70F1EB05"), guid("D7ECA1D3-A51D-483B-BD9E-0F70231875AC"), guid("1CF44089-B022-4906-A1B4-B4FBF2411C3E")},
    {"ZorvaXPLabel", ClassKind::Control, Instancing::Creatable, guid("BCFE8C22-0F53-435A-9CF7-5B25C5B6FA5A"), guid("09982DEA-BC37-426B-9628-F9336679C47B"), guid("A1312859-D148-4394-B477-83A47FCAF2C5")},
    {"ZorvaXPFrame", ClassKind::Control, Instancing::Creatable, guid("55EC3C43-5C4D-437F-B160-798F08CC60D8"), guid("E23FEE9B-E6B9-400A-9F17-AA7CB27A253A"), guid("23749EF0-A7A6-462A-A6A2-7CAD3749C955")},
    {"ZorvaXPHScrollBar", ClassKind::Control, Instancing::Creatable, guid("0B8A40EB-4288-4D61-B2AD-9A6D577C355D"), guid("1C83AD63-9193-4FCD-9106-EEDA92A974D0"), guid("7F3AB1D6-A69C-42CF-B135-A5058E3E5787")},
    {"ZorvaXPCheckBox", ClassKind::Control, Instancing::Creatable, guid("8E2298F3-FB8C-478E-B28E-D764663C3434"), guid("7A951DD0-CE0B-4D9C-895D-C99567ED8E1C"), guid("66FCB6B4-9DBD-48C3-A968-BCD0799A62B1")},
    {"GZorva", ClassKind::Class, Instancing::Global, guid("3845FAB7-A00F-472A-95AE-778AEB77ABC2"), guid("E309418D-FC4E-495D-97FA-30578379110D"), {}},
    {"clsFileSystemObj", ClassKind::Class, Instancing::Creatable, guid("6F41D4CC-5EE0-46B8-9450-DEC918A64A65"), guid("0387FB3A-5113-4BC0-AD29-9A999EF5798D"), {}},
    {"clsLItem", ClassKind::Class, Instancing::Creatable, guid("A4AF6BC4-DE49-44EE-94CE-054AC1DED65D"), guid("8E625D31-7BB8-4D23-B71B-87F9FA14141D"), {}},
    {"clsHookingThunk", ClassKind::Class, Instancing::NotCreatable, guid("D663C747-B9CB-432B-B67F-43C0F866B7E1"), guid("CAB9C79B-E278-4EF6-A38C-E921624757B7"), guid("F9F1658A-CC2C-4C35-AA80-5776AB6AA459")},
    {"clsMWheel", ClassKind::Class, Instancing::NotCreatable, guid("492E2069-E023-4CFE-8EEE-AA1CC9C100A2"), guid("EEF2582B-679E-480D-98F9-CD13E5E0AAEE"), guid("57982B9F-1F25-4DD0-A76B-8F5E45813BC0")},
    {"clsTimer", ClassKind::Class, Instancing::NotCreatable, guid("E5869C5D-EB82-47AD-9E53-C4D128C8DCC8"), guid("AA4E0EC2-2F46-4566-AB11-47E42A693091"), guid("962C2237-DDE2-4850-91F8-6A1896DFB270")},
    {"clsDatePickerHook", ClassKind::Class, Instancing::NotCreatable, guid("241BA0AD-9A12-4888-ADAE-90700B50F4EA"), guid("49A2A7CF-024D-4F2D-931E-3DC44639E2CC"), guid("E47D4C76-0293-4E79-B9E7-9020883A4525")},
    {"pPageImageList", ClassKind::PropertyPage, Instancing::Creatable, guid("231E4451-EE60-4EE3-90FB-2D30DA3C65F1"), {}, {}},
    {"pPageLabel", ClassKind::PropertyPage, Instancing::Creatable, guid("8B8AB4DA-12F8-4572-8A3F-7EA305CBF9F1"), {}, {}},
    {"pPageStatusBar", ClassKind::PropertyPage, Instancing::Creatable, guid("7A114C5D-0D14-42CE-B12A-1F59A89B956E"), {}, {}},
    {"pPageTab", ClassKind::PropertyPage, Instancing::Creatable, guid("3BBCF738-3E90-4202-9A7A-8E897D18F67E"), {}, {}},
    {"pPageToolBar", ClassKind::PropertyPage, Instancing::Creatable, guid("C1C6C57F-CF9D-4DD6-8200-A6EB41310B6E"), {}, {}},
    {"pPageListBox", ClassKind::PropertyPage, Instancing::Creatable, guid("3E38235F-0FB8-4C28-862A-A0CCFAD5B8DF"), {}, {}},
  };
  return rows;
}

const Guid& typeLibraryId() { return typeLibrary().front().clsid; }

const TypeLibraryEntry* findByName(std::string_view name) {
  for (const auto& e : typeLibrary())
    if (e.kind != ClassKind::TypeLibrary && host::equalsNoCase(e.name, name)) return &e;
  return nullptr;
}

const TypeLibraryEntry* findByClsid(const Guid& clsid) {
  for (const auto& e : typeLibrary())
    if (e.kind != ClassKind::TypeLibrary && e.clsid == clsid) return &e;
  return nullptr;
}

const TypeLibraryEntry* findByIid(const Guid& iid) {
  if (iid.isNull()) return nullptr;
  for (const auto& e : typeLibrary())
    if (e.iid == iid || e.eventsIid == iid) return &e;
  return nullptr;
}

bool registered(const TypeLibraryEntry& e) {
  switch (e.kind) {
    case ClassKind::Control: return classes().find(e.name) != nullptr;
    case ClassKind::Class: return e.instancing != Instancing::NotCreatable;
    case ClassKind::PropertyPage: return true;  // registered and created by the component server (com/PropertyPage)
    case ClassKind::TypeLibrary: return false;
  }
  return false;
}

Creation create(const TypeLibraryEntry& e) {
  Creation c;
  if (e.kind == ClassKind::Control) {
    c.control = classes().find(e.name);
  } else if (e.kind == ClassKind::Class) {
    if (e.name == "GZorva") {
      c.object = &GZorva::global();
    } else if (e.name == "clsFileSystemObj") {
      c.owned = std::make_unique<clsFileSystemObj>();
    } else if (e.name == "clsLItem") {
      auto row = std::make_shared<list::LItemObject>();
      c.object = row.get();
      c.shared = std::move(row);
    }
    if (c.owned) c.object = c.owned.get();
  }
  return c;
}

std::string progId(const TypeLibraryEntry& e) { return std::string(kServerName) + "." + std::string(e.name); }

}  // namespace zxp::library

#include "qt/QtPeers.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <stdexcept>

#include "platform/base/HostError.h"
#include "platform/host/Form.h"
#include "platform/host/FormFile.h"

namespace zxp::bench::toolkit {

namespace {

// Our class, its nearest Qt widget, the property holding its text, and the property counting its
// parts (tabs, columns, buttons, panels). A multi-line text box becomes a QPlainTextEdit and a
// vertical scroll bar a vertical QScrollBar (peerOf).
struct Mapping {
  const char* ours;
  const char* qt;  // nullptr: no window at run time, no peer
  const char* textProperty;
  const char* partsProperty;
};

constexpr Mapping kMappings[] = {
    {"ZorvaXPButton", "QPushButton", "Caption", nullptr},
    {"ZorvaXPCheckBox", "QCheckBox", "Caption", nullptr},
    {"ZorvaXPOptionButton", "QRadioButton", "Caption", nullptr},
    {"ZorvaXPLabel", "QLabel", "Caption", nullptr},
    {"ZorvaXPFrame", "QGroupBox", "Caption", nullptr},
    {"ZorvaXPTextBox", "QLineEdit", "Text", nullptr},
    {"ZorvaXPHScrollBar", "QScrollBar", nullptr, nullptr},
    {"ZorvaXPVScrollBar", "QScrollBar", nullptr, nullptr},
    {"ZorvaXPSpin", "QSpinBox", nullptr, nullptr},
    {"ZorvaXPProgressBar", "QProgressBar", nullptr, nullptr},
    {"ZorvaXPToolBar", "QToolBar", nullptr, "HeadersCount"},
    {"ZorvaXPStatusBar", "QStatusBar", nullptr, "HeadersCount"},
    {"ZorvaXPHookTab", "QTabWidget", nullptr, "TabsCount"},
    {"ZorvaXPCalender", "QCalendarWidget", nullptr, nullptr},
    {"ZorvaXPDPicker", "QDateEdit", nullptr, nullptr},  // with its calendar popup
    {"ZorvaXPListBox", "QTableWidget", nullptr, "ColumnsCount"},
    {"ZorvaForm", "QLabel", nullptr, nullptr},  // the skin's title strip: a painted caption
    {"ZorvaTextButton", "QToolButton", "Caption", nullptr},
    {"ZorvaMonth4DBK", "QComboBox", nullptr, nullptr},  // twelve months
    {"ZorvaYear4DBK", "QSpinBox", nullptr, nullptr},
    {"ZorvaXpImageList", nullptr, nullptr, nullptr},
};

const Mapping* mappingFor(std::string_view ourClass) {
  for (const Mapping& m : kMappings)
    if (ourClass == m.ours) return &m;
  return nullptr;
}

constexpr int kMonths = 12;

host::Variant valueOf(const host::Form& form, const host::ControlRecord& r, std::string_view property) {
  try {
    return form.get(r.name, property, r.extender.index.value_or(-1));
  } catch (const HostError&) {
    return host::Variant();
  }
}

void peersOf(const host::Form& form, const std::vector<host::ControlRecord>& records, std::vector<Peer>& out) {
  for (const host::ControlRecord& r : records) {
    const Mapping* m = mappingFor(r.className);
    if (!m) throw std::runtime_error("no Qt widget for " + r.className);
    if (!m->qt) continue;
    Peer p;
    p.qtClass = m->qt;
    p.name = r.extender.index ? r.name + "_" + std::to_string(*r.extender.index) : r.name;
    p.x = r.extender.left / 15;
    p.y = r.extender.top / 15;
    p.width = r.extender.width / 15;
    p.height = r.extender.height / 15;
    p.visible = r.extender.visible;
    if (host::Variant v = valueOf(form, r, "Enabled"); !v.isEmpty()) p.enabled = v.toBool();
    if (m->textProperty) p.text = valueOf(form, r, m->textProperty).toString();
    if (m->partsProperty) p.parts = static_cast<int>(valueOf(form, r, m->partsProperty).toLong());
    if (r.className == "ZorvaXPTextBox" && valueOf(form, r, "MultiLine").toBool()) p.qtClass = "QPlainTextEdit";
    if (r.className == "ZorvaXPVScrollBar") p.vertical = true;
    if (r.className == "ZorvaXPProgressBar" || r.className == "ZorvaXPHScrollBar" ||
        r.className == "ZorvaXPVScrollBar") {
      p.minimum = static_cast<int>(valueOf(form, r, "Min").toLong());
      p.maximum = static_cast<int>(valueOf(form, r, "Max").toLong());
      p.value = static_cast<int>(valueOf(form, r, "Value").toLong());
    }
    if (r.className == "ZorvaForm") p.text = form.Caption();
    if (r.className == "ZorvaMonth4DBK") p.parts = kMonths;
    peersOf(form, r.children, p.children);
    out.push_back(std::move(p));
  }
}

int countOf(const std::vector<Peer>& peers) {
  int n = 0;
  for (const Peer& p : peers) n += 1 + countOf(p.children);
  return n;
}

std::string partName(const Peer& p, const char* what, int i) { return p.name + "_" + what + std::to_string(i + 1); }
std::string partText(const char* what, int i) { return std::string(what) + " " + std::to_string(i + 1); }

// A tool bar's buttons and a status bar's panels are placed by hand, as every other widget here.
struct PartBox {
  int x, y, width, height;
};
PartBox toolButtonBox(const Peer& p, int i) { return {4 + i * 24, 2, 23, p.height > 4 ? p.height - 4 : p.height}; }
PartBox panelBox(const Peer& p, int i) {
  const int w = p.parts > 0 ? p.width / p.parts : p.width;
  return {i * w, 0, w, p.height};
}

// ---- The Designer file ----

void escapeInto(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

struct UiWriter {
  std::string out;

  void open(const std::string& cls, const std::string& name) {
    out += "<widget class=\"" + cls + "\" name=\"";
    escapeInto(out, name);
    out += "\">\n";
  }
  void close() { out += "</widget>\n"; }
  void geometry(int x, int y, int w, int h) {
    out += "<property name=\"geometry\"><rect><x>" + std::to_string(x) + "</x><y>" + std::to_string(y) +
           "</y><width>" + std::to_string(w) + "</width><height>" + std::to_string(h) + "</height></rect></property>\n";
  }
  void string(const char* property, std::string_view text, const char* element = "property") {
    out += std::string("<") + element + " name=\"" + property + "\"><string>";
    escapeInto(out, text);
    out += std::string("</string></") + element + ">\n";
  }
  void number(const char* property, int n) {
    out += std::string("<property name=\"") + property + "\"><number>" + std::to_string(n) + "</number></property>\n";
  }
  void boolean(const char* property, bool b) {
    out += std::string("<property name=\"") + property + "\"><bool>" + (b ? "true" : "false") + "</bool></property>\n";
  }
  void enumeration(const char* property, const char* value) {
    out += std::string("<property name=\"") + property + "\"><enum>" + value + "</enum></property>\n";
  }

  void peer(const Peer& p) {
    open(p.qtClass, p.name);
    geometry(p.x, p.y, p.width, p.height);
    if (!p.enabled) boolean("enabled", false);
    if (!p.visible) boolean("visible", false);
    const std::string& c = p.qtClass;
    if (c == "QGroupBox") {
      string("title", p.text);
    } else if (c == "QPlainTextEdit") {
      string("plainText", p.text);
    } else if (c == "QProgressBar" || c == "QScrollBar") {
      if (p.maximum > p.minimum) {
        number("minimum", p.minimum);
        number("maximum", p.maximum);
        number("value", p.value);
      }
      if (c == "QScrollBar") enumeration("orientation", p.vertical ? "Qt::Vertical" : "Qt::Horizontal");
    } else if (c == "QDateEdit") {
      boolean("calendarPopup", true);
    } else if (c == "QTableWidget") {
      for (int i = 0; i < p.parts; ++i) {
        out += "<column>";
        string("text", partText("Column", i));
        out += "</column>\n";
      }
    } else if (c == "QComboBox") {
      for (int i = 0; i < p.parts; ++i) {
        out += "<item>";
        string("text", partText("Month", i));
        out += "</item>\n";
      }
    } else if (!p.text.empty() || c == "QLabel" || c == "QLineEdit" || c == "QPushButton" || c == "QCheckBox" ||
               c == "QRadioButton" || c == "QToolButton") {
      string("text", p.text);
    }
    if (c == "QTabWidget") {
      for (int i = 0; i < std::max(p.parts, 1); ++i) {
        open("QWidget", partName(p, "page", i));
        string("title", partText("Tab", i), "attribute");
        if (i == 0)
          for (const Peer& child : p.children) peer(child);
        close();
      }
    } else {
      if (c == "QToolBar")
        for (int i = 0; i < p.parts; ++i) {
          open("QToolButton", partName(p, "button", i));
          const PartBox b = toolButtonBox(p, i);
          geometry(b.x, b.y, b.width, b.height);
          string("text", partText("Button", i));
          close();
        }
      if (c == "QStatusBar")
        for (int i = 0; i < p.parts; ++i) {
          open("QLabel", partName(p, "panel", i));
          const PartBox b = panelBox(p, i);
          geometry(b.x, b.y, b.width, b.height);
          string("text", partText("Panel", i));
          close();
        }
      for (const Peer& child : p.children) peer(child);
    }
    close();
  }
};

// ---- The same form in code ----

QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

QWidget* build(const Peer& p, QWidget* parent) {
  const std::string& c = p.qtClass;
  QWidget* w = nullptr;
  QWidget* inner = nullptr;  // where the children go, when not the widget itself
  if (c == "QPushButton") {
    w = new QPushButton(qs(p.text), parent);
  } else if (c == "QCheckBox") {
    w = new QCheckBox(qs(p.text), parent);
  } else if (c == "QRadioButton") {
    w = new QRadioButton(qs(p.text), parent);
  } else if (c == "QLabel") {
    w = new QLabel(qs(p.text), parent);
  } else if (c == "QGroupBox") {
    w = new QGroupBox(qs(p.text), parent);
  } else if (c == "QLineEdit") {
    w = new QLineEdit(qs(p.text), parent);
  } else if (c == "QPlainTextEdit") {
    w = new QPlainTextEdit(qs(p.text), parent);
  } else if (c == "QScrollBar") {
    auto* s = new QScrollBar(p.vertical ? Qt::Vertical : Qt::Horizontal, parent);
    if (p.maximum > p.minimum) {
      s->setRange(p.minimum, p.maximum);
      s->setValue(p.value);
    }
    w = s;
  } else if (c == "QProgressBar") {
    auto* b = new QProgressBar(parent);
    if (p.maximum > p.minimum) {
      b->setRange(p.minimum, p.maximum);
      b->setValue(p.value);
    }
    w = b;
  } else if (c == "QSpinBox") {
    w = new QSpinBox(parent);
  } else if (c == "QToolBar") {
    auto* bar = new QToolBar(parent);
    for (int i = 0; i < p.parts; ++i) {
      auto* b = new QToolButton(bar);
      const PartBox box = toolButtonBox(p, i);
      b->setObjectName(qs(partName(p, "button", i)));
      b->setGeometry(box.x, box.y, box.width, box.height);
      b->setText(qs(partText("Button", i)));
    }
    w = bar;
  } else if (c == "QStatusBar") {
    auto* bar = new QStatusBar(parent);
    for (int i = 0; i < p.parts; ++i) {
      auto* l = new QLabel(qs(partText("Panel", i)), bar);
      const PartBox box = panelBox(p, i);
      l->setObjectName(qs(partName(p, "panel", i)));
      l->setGeometry(box.x, box.y, box.width, box.height);
    }
    w = bar;
  } else if (c == "QTabWidget") {
    auto* tabs = new QTabWidget(parent);
    for (int i = 0; i < std::max(p.parts, 1); ++i) {
      auto* page = new QWidget;
      page->setObjectName(qs(partName(p, "page", i)));
      tabs->addTab(page, qs(partText("Tab", i)));
      if (i == 0) inner = page;
    }
    w = tabs;
  } else if (c == "QCalendarWidget") {
    w = new QCalendarWidget(parent);
  } else if (c == "QDateEdit") {
    auto* d = new QDateEdit(parent);
    d->setCalendarPopup(true);
    w = d;
  } else if (c == "QTableWidget") {
    auto* t = new QTableWidget(0, p.parts, parent);
    for (int i = 0; i < p.parts; ++i) t->setHorizontalHeaderItem(i, new QTableWidgetItem(qs(partText("Column", i))));
    w = t;
  } else if (c == "QToolButton") {
    auto* b = new QToolButton(parent);
    b->setText(qs(p.text));
    w = b;
  } else if (c == "QComboBox") {
    auto* box = new QComboBox(parent);
    for (int i = 0; i < p.parts; ++i) box->addItem(qs(partText("Month", i)));
    w = box;
  } else {
    throw std::runtime_error("no code for " + c);
  }
  w->setObjectName(qs(p.name));
  w->setGeometry(p.x, p.y, p.width, p.height);
  if (!p.enabled) w->setEnabled(false);
  if (!p.visible) w->setVisible(false);
  for (const Peer& child : p.children) build(child, inner ? inner : w);
  return w;
}

}  // namespace

const char* qtClassFor(std::string_view ourClass) {
  const Mapping* m = mappingFor(ourClass);
  return m ? m->qt : "";
}

int PeerForm::count() const { return countOf(controls); }

PeerForm peersOf(const host::Form& form) {
  PeerForm out;
  out.name = form.Name();
  out.width = form.ScaleWidth() / 15;
  out.height = form.ScaleHeight() / 15;
  peersOf(form, form.record().controls, out.controls);
  return out;
}

std::string uiFile(const PeerForm& form) {
  UiWriter w;
  w.out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n<class>" + form.name + "</class>\n";
  w.open("QWidget", form.name);
  w.geometry(0, 0, form.width, form.height);
  for (const Peer& p : form.controls) w.peer(p);
  w.close();
  w.out += "<resources/>\n<connections/>\n</ui>\n";
  return w.out;
}

std::unique_ptr<QWidget> buildInCode(const PeerForm& form) {
  auto top = std::make_unique<QWidget>();
  top->setObjectName(qs(form.name));
  top->resize(form.width, form.height);
  for (const Peer& p : form.controls) build(p, top.get());
  return top;
}

}  // namespace zxp::bench::toolkit

// Generated forms for the monkey: controls of every class at random places and sizes, some inside
// frames and tab controls, written as a form file so that the run loads it as a user's file.
#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/ControlObject.h"
#include "tools/monkey/Monkey.h"

namespace zxp::monkey {

namespace {

struct Node {
  const host::ControlClass* cls = nullptr;
  std::string name;
  int32_t left = 0, top = 0, width = 0, height = 0;
  std::vector<Node> children;
};

void write(std::ostringstream& out, const Node& n, int depth, int& tabIndex) {
  const std::string pad(static_cast<size_t>(depth) * 2, ' ');
  out << pad << "Begin " << n.cls->name << ' ' << n.name << '\n';
  out << pad << "  @Left = " << n.left << '\n' << pad << "  @Top = " << n.top << '\n';
  out << pad << "  @Width = " << n.width << '\n' << pad << "  @Height = " << n.height << '\n';
  out << pad << "  @TabIndex = " << tabIndex++ << '\n';
  for (const Node& c : n.children) write(out, c, depth + 1, tabIndex);
  out << pad << "End\n";
}

}  // namespace

std::string generateForm(uint64_t seed, const host::ClassRegistry& classes, size_t controls) {
  std::mt19937_64 gen(seed);
  const auto below = [&](uint64_t n) { return n == 0 ? 0 : gen() % n; };
  std::vector<const host::ControlClass*> plain, containers;
  const host::ControlClass* skin = nullptr;
  for (const host::ControlClass& c : classes.classes()) {
    if (c.name == "ZorvaForm") skin = &c;
    else if (c.miscStatus & host::OLEMISC_SIMPLEFRAME) containers.push_back(&c);
    else plain.push_back(&c);
  }
  const int32_t formW = 9000, formH = 7200;
  const bool skinned = skin != nullptr && below(3) == 0;
  std::vector<Node> top;
  // Every class once (the order shuffled), then random ones up to the count.
  std::vector<const host::ControlClass*> pool = plain;
  pool.insert(pool.end(), containers.begin(), containers.end());
  std::shuffle(pool.begin(), pool.end(), gen);
  while (pool.size() < controls) {
    const auto& from = below(4) == 0 && !containers.empty() ? containers : plain;
    pool.push_back(from[below(from.size())]);
  }
  std::vector<Node*> holders;  // containers placed so far (pointers stay valid: reserved)
  top.reserve(pool.size());
  size_t counter = 0;
  for (const host::ControlClass* cls : pool) {
    Node n;
    n.cls = cls;
    n.name = "ctl" + std::to_string(++counter);
    const bool container = (cls->miscStatus & host::OLEMISC_SIMPLEFRAME) != 0;
    n.width = container ? 3000 + static_cast<int32_t>(below(3000)) : 300 + static_cast<int32_t>(below(2700));
    n.height = container ? 2000 + static_cast<int32_t>(below(2500)) : 240 + static_cast<int32_t>(below(1800));
    Node* parent = nullptr;
    if (!holders.empty() && below(2) == 0) parent = holders[below(holders.size())];
    const int32_t areaW = parent ? parent->width : formW, areaH = parent ? parent->height : formH;
    n.left = static_cast<int32_t>(below(static_cast<uint64_t>(std::max(areaW - n.width / 2, 15))));
    n.top = static_cast<int32_t>(below(static_cast<uint64_t>(std::max(areaH - n.height / 2, 15))));
    if (parent) {
      parent->children.reserve(pool.size());
      parent->children.push_back(n);
      // Two levels at most: a container inside a container holds no more.
    } else {
      top.push_back(n);
      if (container) holders.push_back(&top.back());
    }
  }
  std::ostringstream out;
  out << "ZorvaXP Form 1\nBegin Form frmMonkey" << seed << "\n";
  out << "  Caption = String \"Monkey &form\"\n";
  out << "  BorderStyle = Integer " << (skinned ? 0 : 1 + static_cast<int>(below(2))) << "\n";
  out << "  ClientWidth = Long " << formW << "\n  ClientHeight = Long " << formH << "\n";
  int tabIndex = 0;
  if (skinned) {
    out << "  Begin ZorvaForm Skin\n    @Width = " << formW << "\n    @Height = 675\n    @Align = 1\n"
        << "    @TabIndex = " << tabIndex++ << "\n  End\n";
  }
  for (const Node& n : top) write(out, n, 1, tabIndex);
  out << "End\n";
  return out.str();
}

}  // namespace zxp::monkey

// Form files: how a designer saves a form as text, and loads it back.
//
//   ZorvaXP Form 1
//   Begin Form Form1
//     Caption = String "Orders"
//     Begin ZorvaXPFrame Frame1
//       @Left = 120
//       @Top = 120
//       @Width = 4815
//       @Height = 2535
//       @TabIndex = 0
//       Caption = String "&Options"
//       Begin ZorvaXPButton Command1
//         @Index = 0
//         @Left = 240
//         ...
//         HiglightMouseOver = Boolean False
//         Font = Font "Tahoma" 8.25 Bold
//         Picture = Picture {
//           AAABAAEAEBAAAAEAIABoBAAAFgAAACgAAAAQAAAAIAAAAAEAIAAAAAAAAAQAAAAAAAAAAAAAAAAAAAAA
//           ...
//         }
//       End
//     End
//   End
//
// One control per Begin/End block, nested inside its container. "@" lines are the control's
// extender values (positions and sizes in twips); the other lines are its property bag, one
// typed value per key, in the order the control wrote them. Value types: Empty, Boolean
// (True/False or a 16-bit number), Integer, Long (decimal or &H hexadecimal), Single, Double
// (shortest exact decimal form, inf, nan), String (double quotes; \" \\ \n \r \t \xHH escapes),
// Date (the serial number: days since 1899-12-30), Font (name, size in points, then any of Bold,
// Italic, Underline, Strikethrough, Weight=n, Charset=n), Picture (None, or the picture's bytes
// in base64 lines between braces). Keys and names are identifiers or quoted strings. Blank lines
// and lines starting with ' are ignored; indentation is free.
//
// Form files are untrusted input: anything malformed raises FormFileError naming the line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/HostError.h"
#include "platform/gfx/Types.h"
#include "platform/host/PropertyBag.h"

namespace zxp::host {

constexpr int kFormFileVersion = 1;
// Deepest nesting of containers a form file may have.
constexpr int kMaxFormNesting = 32;

// Alignment of a control to an edge of its form (the extender's Align).
enum class Align : int16_t { vbAlignNone = 0, vbAlignTop = 1, vbAlignBottom = 2, vbAlignLeft = 3, vbAlignRight = 4 };

// The extender values a form file keeps per control; the container is given by nesting.
struct ExtenderRecord {
  std::optional<int16_t> index;  // set for members of a control array
  int32_t left = 0, top = 0, width = 0, height = 0;  // twips
  Align align = Align::vbAlignNone;
  bool tabStop = true;
  int16_t tabIndex = -1;  // -1: after the others
  bool visible = true;
  bool defaultButton = false;  // the form's default button (Enter), for controls that act like buttons
  bool cancelButton = false;   // the form's cancel button (Escape), likewise
  friend bool operator==(const ExtenderRecord&, const ExtenderRecord&) = default;

  // A place given in pixels: (x, y), w x h.
  static ExtenderRecord inPixels(int32_t x, int32_t y, int32_t w, int32_t h) {
    ExtenderRecord r;
    r.left = pixelsToTwips(x);
    r.top = pixelsToTwips(y);
    r.width = pixelsToTwips(w);
    r.height = pixelsToTwips(h);
    return r;
  }
};

struct ControlRecord {
  std::string className;
  std::string name;
  int line = 0;  // the line of its Begin
  ExtenderRecord extender;
  PropertyBag properties;
  std::vector<ControlRecord> children;
};

struct FormRecord {
  std::string name;
  PropertyBag properties;
  std::vector<ControlRecord> controls;
};

class FormFileError : public HostError {
 public:
  FormFileError(int line, const std::string& message);
  int line() const { return line_; }
  // The message without the "line N: " prefix.
  const std::string& message() const { return message_; }

 private:
  int line_;
  std::string message_;
};

std::string writeFormFile(const FormRecord& form);
FormRecord parseFormFile(std::string_view text);

// Text from a form file for an error message: control characters as '?', and at most 40 bytes
// (cut at a character boundary, then "..."), so that a huge token never makes a huge message.
std::string excerpt(std::string_view text);

// The text of one typed value as it appears after "Key = " (for property panels and messages).
std::string formatFormValue(const Variant& value);

// Base64 of the standard alphabet with padding, as pictures are embedded.
std::string base64Encode(const std::vector<uint8_t>& bytes);
// Empty optional when the text is not valid padded base64.
std::optional<std::vector<uint8_t>> base64Decode(std::string_view text);

}  // namespace zxp::host

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velko {

// The page surface the printed report draws on. Positions are millimetres from the
// page's top-left corner, font sizes are points. The current line is known by its
// baseline; a line is 1.2 x the point size high (size / 60 inch). The surface never
// begins a page by itself: only BeginNewPage does.
enum class TAlign { Left, Centre, Right };

// Sides of a column's box, combined as a bit set.
enum TBoxSide : unsigned {
  BoxNone = 0,
  BoxLeft = 1,
  BoxRight = 2,
  BoxTop = 4,
  BoxBottom = 8,
};

enum class TPenStyle { Solid, Dash, Dot, DashDot, Clear };
enum class TPenMode { Copy };

inline constexpr std::uint32_t kBlack = 0x000000;

// The width of one side of a cell: -N is N hundredths of an inch, 0 draws nothing, a
// positive N is N output-device dots; "not given" (std::nullopt) draws the column's
// own box side, if it has one, with the rule pen.
using TSideWidth = std::optional<int>;
inline constexpr TSideWidth kColumnSide = std::nullopt;

class TBaseReport {
 public:
  virtual ~TBaseReport() = default;

  // Face and size; clears bold, italic, underline and strike-out.
  virtual void UseFont(const std::string& face, double points) = 0;
  virtual void SetBold(bool on) = 0;
  virtual void SetUnderline(bool on) = 0;
  virtual void SetItalic(bool on) = 0;

  // Edges of the writing area; a current baseline outside is pulled to the edge.
  virtual void SetAreaTop(double y) = 0;
  virtual void SetAreaBottom(double y) = 0;

  virtual void MoveToX(double x) = 0;
  virtual void MoveToY(double y) = 0;  // the baseline
  virtual void MarkAreaTop() = 0;      // area top := bottom of the current line (line 0)
  virtual void GoToFirstLine() = 0;    // x to the left edge, baseline of line 1
  virtual void NextLine() = 0;         // one line of the current font down, before the first column

  // Into the cell NextCell opened (the column's alignment; the cell then closes), else
  // left-aligned at x, which moves past the text.
  virtual void PrintText(std::string_view text) = 0;
  virtual void PrintCentred(std::string_view text, double x) = 0;
  virtual void PrintRightInArea(std::string_view text) = 0;

  virtual void ClearColumns() = 0;
  // x not given: directly to the right of the previous column (the left edge for the first).
  virtual void AddColumn(std::optional<double> x, TAlign align, double width, double margin,
                         unsigned boxSides, int shadePercent) = 0;
  virtual void SetRulePen(std::uint32_t rgb, TPenStyle style, int widthDots, TPenMode mode) = 0;
  // Opens the next column's cell (nothing after the last), fills it when the shade is not 0
  // and draws its sides. Shade not given: the column's.
  virtual void NextCell(TSideWidth left, TSideWidth right, TSideWidth top, TSideWidth bottom,
                        std::optional<int> shadePercent = std::nullopt) = 0;

  virtual double GetPageWidth() const = 0;
  virtual int GetPageNumber() const = 0;  // from 1
  virtual std::int32_t GetDeviceY() const = 0;  // current baseline in output-device dots
  virtual double GetYPos() const = 0;           // current baseline in millimetres
  virtual double GetAreaBottom() const = 0;
  // Width in millimetres of `text` in the current face at `points`, whatever the size set.
  virtual double TextWidth(std::string_view text, double points) const = 0;

  // Next page: number + 1, writing area back to the page margins, line 1.
  virtual void BeginNewPage() = 0;
};

}  // namespace velko

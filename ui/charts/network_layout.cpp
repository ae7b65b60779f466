#include "ui/charts/network_layout.h"

#include <gvc.h>

#include <charconv>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "model/command_error.h"
#include "ui/charts/chart_text.h"

namespace velko {

QString workLabelFirstLine(const WorkTiming& work) {
  return QStringLiteral("%1 / %2").arg(chartNumber(work.duration)).arg(work.workers);
}

QString workLabelSecondLine(const WorkTiming& work) { return QStringLiteral("Id %1").arg(work.id); }

namespace {

struct ContextCloser {
  void operator()(GVC_t* context) const { gvFreeContext(context); }
};
struct GraphCloser {
  void operator()(Agraph_t* graph) const { agclose(graph); }
};
// One Graphviz context for the life of the program. Its text layout plugin keeps a
// pointer into the font cache of the context it last served, so a context freed and
// created again would have it read freed memory on the next layout.
GVC_t* graphvizContext() {
  static const std::unique_ptr<GVC_t, ContextCloser> context(gvContext());
  return context.get();
}

// Frees the layout whatever happens while its positions are read.
struct LayoutFreer {
  GVC_t* context;
  Agraph_t* graph;
  ~LayoutFreer() { gvFreeLayout(context, graph); }
};

std::string quoted(const QString& text) {
  std::string out = "\"";
  for (char c : text.toStdString()) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A number for the dot text: "." whatever the C library's locale (std::to_string
// would write "0,5" under a comma locale, which the dot parser reads as two items).
std::string dotNumber(double value) {
  char buffer[32];
  const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, end.ptr);
}

// The dot text of the network. Helvetica is the family whose metrics Graphviz knows
// without a font library; the pictures draw with a metric-compatible face.
std::string dotText(int eventCount, const std::vector<WorkTiming>& works) {
  const double inches = kEventDiameter / 72.0;
  std::string dot = "digraph network {\n";
  dot += "  graph [rankdir=LR, nodesep=0.3, ranksep=0.55, splines=spline, ordering=out, pad=0];\n";
  dot += "  node [shape=circle, fixedsize=true, label=\"\", width=" + dotNumber(inches) + "];\n";
  dot += "  edge [fontname=Helvetica, fontsize=" + std::to_string(kWorkLabelRoomPixels) +
         ", arrowsize=0.9];\n";
  for (int e = 1; e <= eventCount; ++e) dot += "  " + std::to_string(e) + ";\n";
  for (const WorkTiming& w : works) {
    const QString label = workLabelFirstLine(w) + QStringLiteral("\n") + workLabelSecondLine(w);
    dot += "  " + std::to_string(w.I) + " -> " + std::to_string(w.J) + " [label=" + quoted(label) + "];\n";
  }
  return dot + "}\n";
}

}  // namespace

NetworkLayout layoutNetwork(int eventCount, const std::vector<WorkTiming>& works) {
  if (eventCount < 0 || eventCount > kMaxEvents) {
    throw CommandError("Число событий " + std::to_string(eventCount) + " вне допустимых 0.." +
                       std::to_string(kMaxEvents));
  }
  std::map<std::pair<int, int>, std::size_t> workIndex;
  for (std::size_t k = 0; k < works.size(); ++k) {
    const WorkTiming& w = works[k];
    if (w.I < 1 || w.J < 1 || w.I > eventCount || w.J > eventCount) {
      throw CommandError("Работа " + workName(w.I, w.J).toStdString() + " ссылается на событие вне 1.." +
                         std::to_string(eventCount));
    }
    workIndex[{w.I, w.J}] = k;
  }
  NetworkLayout layout;
  if (eventCount == 0) return layout;

  agseterr(AGMAX);  // the program reports its own failures; no Graphviz chatter on stderr
  GVC_t* context = graphvizContext();
  const std::string dot = dotText(eventCount, works);
  std::unique_ptr<Agraph_t, GraphCloser> graph(agmemread(dot.c_str()));
  if (!context || !graph || gvLayout(context, graph.get(), "dot") != 0) {
    throw CommandError("Не удалось расположить сетевой график");
  }
  const LayoutFreer freer{context, graph.get()};

  const boxf box = GD_bb(graph.get());
  const double margin = 12.0;
  layout.size = QSizeF(box.UR.x - box.LL.x + 2 * margin, box.UR.y - box.LL.y + 2 * margin);
  const auto place = [&](pointf p) { return QPointF(p.x - box.LL.x + margin, box.UR.y - p.y + margin); };

  layout.events.resize(static_cast<std::size_t>(eventCount));
  for (Agnode_t* node = agfstnode(graph.get()); node; node = agnxtnode(graph.get(), node)) {
    const int number = std::stoi(agnameof(node));
    layout.events[static_cast<std::size_t>(number - 1)] = {number, place(ND_coord(node))};
    for (Agedge_t* edge = agfstout(graph.get(), node); edge; edge = agnxtout(graph.get(), edge)) {
      WorkRoute route;
      route.I = number;
      route.J = std::stoi(agnameof(aghead(edge)));
      route.work = workIndex.at({route.I, route.J});
      const splines* spl = ED_spl(edge);
      if (spl && spl->size > 0) {
        const bezier& curve = spl->list[0];
        for (int k = 0; k < curve.size; ++k) route.spline.push_back(place(curve.list[k]));
        route.arrowTip = curve.eflag ? place(curve.ep) : route.spline.back();
        // Control points bound a Bezier curve.
        QPointF low = route.arrowTip;
        QPointF high = route.arrowTip;
        for (const QPointF& point : route.spline) {
          low = QPointF(std::min(low.x(), point.x()), std::min(low.y(), point.y()));
          high = QPointF(std::max(high.x(), point.x()), std::max(high.y(), point.y()));
        }
        route.bounds = QRectF(low, high).adjusted(-8, -8, 8, 8);
      }
      if (const textlabel_t* label = ED_label(edge)) {
        route.labelCentre = place(label->pos);
        route.labelSize = QSizeF(label->dimen.x, label->dimen.y);
      }
      layout.works.push_back(std::move(route));
    }
  }
  return layout;
}

}  // namespace velko

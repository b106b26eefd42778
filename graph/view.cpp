// What the graph shows.
#include "graph/view.h"

GraphView Graph;

void SetSelectedMetric(int metric) { Graph.SelectedMetric = metric; }

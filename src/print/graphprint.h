// The graph print: the temperature graph and the humidity graph re-drawn on the printer in
// print colours, with the window the graph view's bars hold, under the page header.
#pragma once

#include "data/dataset.h"
#include "data/messagetable.h"
#include "graph/renderer.h"
#include "graph/viewmath.h"
#include "print/printheader.h"
#include "print/printpage.h"

// The window with room added to its value range so the labels on its top and bottom lines
// print whole, for a picture pictureHeight pixels tall with labels labelHeight pixels tall;
// unchanged on a picture too small to spare it.
GraphWindow withLabelRoom(GraphWindow window, double labelHeight, double pictureHeight);

// Draws one page. The graphs keep the physical width of the graph boxes and are drawn at two
// thirds of twice their height, from 1/3 and 2/3 of the page down (smaller only on a page too
// small for them). They are drawn first, so the header's selection block holds the statistics
// of exactly the printed window.
void printGraphPage(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set, const Bars& bars,
                    const GraphRenderer& renderer, const MessageTable& messages);

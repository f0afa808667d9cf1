#pragma once

class ListView;

// Makes the entry with the 0-based index visible, scrolling only if needed.
void ScrollTo(ListView &list, int index);

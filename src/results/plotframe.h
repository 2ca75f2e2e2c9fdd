#ifndef TARVEL_PLOTFRAME_H
#define TARVEL_PLOTFRAME_H

// The plot rectangle in pixels, measured upwards from the bottom edge of the
// picture (the plot's logical coordinates), ends included.

struct PlotFrame
{
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;

    int width() const { return right - left + 1; }
    int height() const { return top - bottom + 1; }
};

#endif

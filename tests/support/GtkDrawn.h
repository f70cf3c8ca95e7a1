// What a GTK widget draws, read back as pixels.
#pragma once

#include <gtk/gtk.h>

#include <vector>

namespace vztest
{

// w's pixels, 4 bytes each (B, G, R, A premultiplied), row after row.
inline std::vector<unsigned char> DrawnPixels(GtkWidget* w)
{
    const int width = gtk_widget_get_allocated_width(w), height = gtk_widget_get_allocated_height(w);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    gtk_widget_draw(w, cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    std::vector<unsigned char> px;
    const unsigned char* rows = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; y++)
        px.insert(px.end(), rows + y * stride, rows + y * stride + width * 4);
    cairo_surface_destroy(surface);
    return px;
}

} // namespace vztest

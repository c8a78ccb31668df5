#pragma once

// Where the app panel puts its icons: five columns fill the panel's width and
// three rows its height; further rows scroll. All values in twips.
struct AppIconGrid
{
    double s = 0; // icon size (48 pixels)
    double h = 0; // horizontal gap
    double v = 0; // vertical gap
};

// The grid for a panel of width w and height h, with the screen's twips per pixel.
AppIconGrid AppGridFor(double panelWidth, double panelHeight, double twipsPerPixel);

// Left and top of icon k (1-based) in the grid.
double AppIconLeft(int k, const AppIconGrid &g);
double AppIconTop(int k, const AppIconGrid &g);

// A polyline built from many pixel points, reduced per pixel column: of each run of
// consecutive points on one column only the first, the lowest, the highest and the last
// are kept (in the order they came), which inks the same column span as joining them
// all. A run of one or two points is kept as it is, so a line with no more points than
// columns keeps every point. With FirstOfColumnOnly each run keeps only its first point.
// Pieces end where the line has a gap.
#pragma once

#include "TeEngine/Axis.h"
#include "graphics/Types.h"

#include <algorithm>
#include <vector>

class TColumnPolyline {
public:
    explicit TColumnPolyline(bool FirstOfColumnOnly = false) : FFirstOnly(FirstOfColumnOnly) {}

    // The next point of the line.
    void Add(int X, int Y)
    {
        if (!FInRun || X != FColumn) {
            EndRun();
            FInRun = true;
            FColumn = X;
            FFirst = FLow = FHigh = FLast = Y;
            FLowFirst = true;
            return;
        }
        if (FFirstOnly)
            return;
        if (Y < FLow) {
            FLow = Y;
            FLowFirst = false;   // the low came after the high
        } else if (Y > FHigh) {
            FHigh = Y;
            FLowFirst = true;
        }
        FLast = Y;
    }
    // Adds the points From..To. Pixel(i, X, Y) sets point i's pixel and returns false for
    // a point where the line has a gap (see Break). The run under way is kept in locals,
    // so that the points of one column cost a compare or two each.
    template <typename PixelOf> void AddRange(int From, int To, PixelOf&& Pixel)
    {
        // Pixels are taken a block at a time, in a loop of their own, and then reduced.
        constexpr int block = 256;
        int bx[block], by[block];
        bool bj[block];
        int column = FColumn, low = FLow, high = FHigh, last = FLast;
        bool inRun = FInRun, lowFirst = FLowFirst;
        for (int start = From; start <= To; start += block) {
            const int n = std::min(block, To - start + 1);
            for (int k = 0; k < n; ++k)
                bj[k] = Pixel(start + k, bx[k], by[k]);
            for (int k = 0; k < n; ++k) {
                const int x = bx[k], y = by[k];
                if (x == column && inRun && bj[k]) {
                    if (FFirstOnly)
                        continue;
                    if (y < low) {
                        low = y;
                        lowFirst = false;
                    } else if (y > high) {
                        high = y;
                        lowFirst = true;
                    }
                    last = y;
                    continue;
                }
                FLow = low, FHigh = high, FLast = last, FLowFirst = lowFirst;
                if (bj[k])
                    Add(x, y);
                else
                    Break(x, y);
                column = FColumn, low = FLow, high = FHigh, last = FLast, lowFirst = FLowFirst;
                inRun = FInRun;
            }
        }
        FLow = low, FHigh = high, FLast = last, FLowFirst = lowFirst;
    }
    // A gap: the current piece ends, the next starts at (X, Y).
    void Break(int X, int Y)
    {
        EndPiece();
        Add(X, Y);
    }
    // Ends the last piece; Pieces() then holds every piece.
    void Finish() { EndPiece(); }

    const std::vector<TPoint>& Points() const { return FPoints; }
    struct Piece {
        size_t Begin, End;   // a range of Points()
    };
    const std::vector<Piece>& Pieces() const { return FPieces; }

private:
    void Push(int Y)
    {
        if (FPoints.size() == FPieceStart || FPoints.back().X != FColumn || FPoints.back().Y != Y)
            FPoints.emplace_back(FColumn, Y);
    }
    void EndRun()
    {
        if (!FInRun)
            return;
        Push(FFirst);
        if (!FFirstOnly) {
            Push(FLowFirst ? FLow : FHigh);
            Push(FLowFirst ? FHigh : FLow);
            Push(FLast);
        }
        FInRun = false;
    }
    void EndPiece()
    {
        EndRun();
        if (FPoints.size() > FPieceStart)
            FPieces.push_back({FPieceStart, FPoints.size()});
        FPieceStart = FPoints.size();
    }

    bool FFirstOnly;
    std::vector<TPoint> FPoints;
    std::vector<Piece> FPieces;
    size_t FPieceStart = 0;
    bool FInRun = false;   // a run of points on FColumn is under way
    int FColumn = 0;
    int FFirst = 0, FLow = 0, FHigh = 0, FLast = 0;
    bool FLowFirst = true;
};

// Adds the points From..To of the values Xs, Ys to Line through the axes' maps; Joined(i)
// is false where the line has a gap at point i.
template <typename JoinedOf>
void AddMappedPoints(TColumnPolyline& Line, const double* Xs, const double* Ys, int From, int To,
                     const TAxisLinearMap& MapX, const TAxisLinearMap& MapY, JoinedOf Joined)
{
    const TAxisLinearMap mx = MapX, my = MapY;
    if (mx.Plain() && my.Plain())
        Line.AddRange(From, To, [&](int t, int& x, int& y) {
            x = mx.Clamped(Xs[t]);
            y = my.Clamped(Ys[t]);
            return Joined(t);
        });
    else
        Line.AddRange(From, To, [&](int t, int& x, int& y) {
            x = mx(Xs[t]);
            y = my(Ys[t]);
            return Joined(t);
        });
}

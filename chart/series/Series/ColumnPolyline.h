// A polyline built from many pixel points, reduced per pixel column: of each run of
// consecutive points on one column only the first, the lowest, the highest and the last
// are kept (in the order they came), which inks the same column span as joining them
// all. A run of one or two points is kept as it is, so a line with no more points than
// columns keeps every point. With FirstOfColumnOnly each run keeps only its first point.
// Pieces end where the line has a gap.
#pragma once

#include "TeEngine/Axis.h"
#include "graphics/Types.h"
#include "system/Parallel.h"

#include <algorithm>
#include <cstdint>
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
    // The same as AddRange, the points split into Workers parts where a new run starts
    // anyway (a new column or a gap), the parts reduced on the machine's cores and joined
    // in order: the points and pieces come out as AddRange gives them. Pixel is called
    // from several threads at once.
    template <typename PixelOf> void AddRangeSpread(int From, int To, PixelOf&& Pixel, int Workers)
    {
        const int count = To - From + 1;
        Workers = std::clamp(Workers, 1, std::max(1, count / 2));
        if (Workers == 1) {
            AddRange(From, To, Pixel);
            return;
        }
        // Part k starts at starts[k]; a part whose start would fall past the next one is
        // left out.
        std::vector<int> starts{From};
        std::vector<char> joined{1};
        for (int k = 1; k < Workers; ++k) {
            int at = std::max(From + int(int64_t(count) * k / Workers), starts.back() + 1);
            int px, py, x, y;
            if (at > To)
                break;
            Pixel(at - 1, px, py);
            bool j = Pixel(at, x, y);
            while (at <= To && j && x == px) {
                px = x;
                if (++at <= To)
                    j = Pixel(at, x, y);
            }
            if (at > To)
                break;
            starts.push_back(at);
            joined.push_back(j ? 1 : 0);
        }
        const int parts = int(starts.size());
        std::vector<TColumnPolyline> tails;
        tails.reserve(size_t(parts - 1));
        for (int k = 1; k < parts; ++k)
            tails.emplace_back(FFirstOnly);
        ParallelFor(parts, [&](int k) {
            if (k == 0) {
                AddRange(From, parts > 1 ? starts[1] - 1 : To, Pixel);
                return;
            }
            TColumnPolyline& tail = tails[size_t(k - 1)];
            tail.AddRange(starts[size_t(k)], k + 1 < parts ? starts[size_t(k + 1)] - 1 : To, Pixel);
            tail.Finish();
        });
        for (int k = 1; k < parts; ++k)
            Append(tails[size_t(k - 1)], joined[size_t(k)] != 0);
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
    // Takes over the finished points of Next, whose first point starts a new run: in the
    // piece under way when Joined, else after a gap. The last piece stays open.
    void Append(const TColumnPolyline& Next, bool Joined)
    {
        EndRun();
        if (!Joined)
            EndPiece();
        const size_t offset = FPoints.size();
        FPoints.insert(FPoints.end(), Next.FPoints.begin(), Next.FPoints.end());
        for (size_t i = 0; i < Next.FPieces.size(); ++i) {
            const size_t begin = offset + Next.FPieces[i].Begin;
            if (i == 0 && Joined)
                continue;   // goes on with the open piece
            if (begin > FPieceStart)
                FPieces.push_back({FPieceStart, begin});
            FPieceStart = begin;
        }
    }
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
    // Large lines are reduced on several cores, an eighth of a million points a part at least.
    const int workers = std::min(ParallelThreadCount(), (To - From + 1) / 125000);
    if (mx.Plain() && my.Plain())
        Line.AddRangeSpread(From, To, [&](int t, int& x, int& y) {
            x = mx.Clamped(Xs[t]);
            y = my.Clamped(Ys[t]);
            return Joined(t);
        }, workers);
    else
        Line.AddRangeSpread(From, To, [&](int t, int& x, int& y) {
            x = mx(Xs[t]);
            y = my(Ys[t]);
            return Joined(t);
        }, workers);
}

#include "TSeries.h"

void TSeries::Add(double X, double Y)
{
    if (MaxCount > 0 && Count() >= MaxCount) {
        Values.erase(Values.begin(), Values.end() - (MaxCount - 1));
        Values.push_back({X, Y});
    } else {
        Values.push_back({X, Y});
    }
}

void TSeries::Clear()
{
    Values.clear();
}

double TSeries::LowestY() const
{
    if (Values.empty())
        return 0.0;
    double low = Values[0].Y;
    for (const TChartItem &item : Values)
        if (item.Y < low)
            low = item.Y;
    return low;
}

double TSeries::HighestY() const
{
    if (Values.empty())
        return 0.0;
    double high = Values[0].Y;
    for (const TChartItem &item : Values)
        if (item.Y > high)
            high = item.Y;
    return high;
}

double TSeries::LowestX() const
{
    if (Values.empty())
        return 0.0;
    double low = Values[0].X;
    for (const TChartItem &item : Values)
        if (item.X < low)
            low = item.X;
    return low;
}

double TSeries::HighestX() const
{
    if (Values.empty())
        return 0.0;
    double high = Values[0].X;
    for (const TChartItem &item : Values)
        if (item.X > high)
            high = item.X;
    return high;
}

#pragma once

#include "measurement/InfoWindowStyle.h"
#include "measurement/StatisticsBuffer.h"

// One quantity of a pixel window with statistics: its history over the last 100 accepted
// samples and the five labels that show the current value, average, σ, minimum and maximum.
class StatisticsColumn final
{
public:
    enum class Unit
    {
        // Millimetres in, centimetres shown.
        Centimetres,
        Lsb
    };

    static constexpr int historyLength = 100;

    explicit StatisticsColumn(Unit unit) : unit(unit) {}

    // The window's labels for this quantity; set once, before the first value.
    void setLabels(const InfoWindowStyle::StatisticsLabels& shownIn) { labels = shownIn; }

    // Appends an accepted value and shows it with the statistics of the history.
    void show(int value);
    // An out-of-range value: every label "N/A", the history untouched.
    void showNotAvailable();
    void clear() { history.clear(); }
    const StatisticsBuffer& statistics() const { return history; }

private:
    QString general(double value) const;
    QString fixed(double value) const;

    InfoWindowStyle::StatisticsLabels labels{};
    Unit unit;
    StatisticsBuffer history{historyLength};
};

#pragma once

#include <QObject>

// Horizontal and vertical binning and the row reduction; the factors say how many sensor
// pixels one image pixel stands for.
class SettingsBinningAndReduction final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsBinningAndReduction(QObject* parent = nullptr);
    ~SettingsBinningAndReduction() override;

    bool horizontalBinning() const { return m_horizontalBinning; }
    bool verticalBinning() const { return m_verticalBinning; }
    int rowReductionIndex() const { return m_rowReductionIndex; }
    int rowFactor() const { return m_rowFactor; }
    int horizontalFactor() const { return m_horizontalFactor; }
    int totalFactor() const { return m_rowFactor * m_horizontalFactor; }

    // Also sets horizontalFactor (2 when binned, else 1) before announcing the change.
    void setHorizontalBinning(bool state);
    void setVerticalBinning(bool state);
    void setRowReductionIndex(int index);
    void setRowFactor(int factor) { m_rowFactor = factor; }

    void announceLockVerticalBinning(bool state);

signals:
    void verticalBinningChanged(bool state);
    void horizontalBinningChanged(bool state);
    void rowReductionChanged(int index);
    void lockVerticalBinning(bool state);

private:
    bool m_horizontalBinning = false;
    bool m_verticalBinning = false;
    int m_rowReductionIndex = 0;
    int m_rowFactor = 1;
    int m_horizontalFactor = 1;
};

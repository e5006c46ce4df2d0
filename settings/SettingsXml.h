#pragma once

#include <iterator>

// Element names of the configuration files, one constant per stored field, for the reader
// and the writer of those files. A file is a "config" root whose children each hold one
// inner element: "state" ("on"/"off"), "value" or "index"; "hysteresis" holds "state" and
// "value".
namespace SettingsXml {

enum class Inner
{
    State,
    Value,
    Index,
    StateAndValue
};

struct Element
{
    const char* name;
    Inner inner;
    // Also read and written for a FLIM chip (timing, validation, ROI, binning, flips,
    // averaging, window geometry, corrections); the rest only for distance chips.
    bool flimChip;
};

inline constexpr char Root[] = "config";
inline constexpr char State[] = "state";
inline constexpr char Value[] = "value";
inline constexpr char Index[] = "index";
inline constexpr char On[] = "on";
inline constexpr char Off[] = "off";

// SettingsModulation, SettingsDistanceCalculation, SettingsABS
inline constexpr Element ModulationFrequencyIndex{"modulation_frequency_index", Inner::Index, false};
inline constexpr Element Modulation{"modulation", Inner::Index, false};
inline constexpr Element Abs{"ABS", Inner::State, false};
inline constexpr Element PiDelay{"pi_delay", Inner::State, false};
inline constexpr Element DualMgx{"dual_MGX_TOF", Inner::State, false};
inline constexpr Element Hdr{"HDR", Inner::State, false};
// Settings modeIndex
inline constexpr Element ViewMode{"view_mode", Inner::Index, false};
// Settings3D
inline constexpr Element RangeMax{"range_max", Inner::Value, false};
inline constexpr Element RangeMin{"range_min", Inner::Value, false};
inline constexpr Element AmplitudeMin{"amplitude_min", Inner::Value, false};
inline constexpr Element Fpn{"FPN", Inner::State, false};
inline constexpr Element Hysteresis{"hysteresis", Inner::StateAndValue, false};
inline constexpr Element EnableAutoOffset{"enableAutoOffset", Inner::State, false};
inline constexpr Element ManualOffset{"manualOffset", Inner::Value, false};
// SettingsIntegrationTime (microseconds)
inline constexpr Element IntegrationGrayscale{"integration_grayscale", Inner::Value, false};
inline constexpr Element IntegrationTof{"integration_TOF", Inner::Value, false};
inline constexpr Element IntegrationTofHdr{"integration_TOF_HDR", Inner::Value, false};
// SettingsCalibration pixelInterpolation
inline constexpr Element PixelInterpolation{"pixel_interpolation", Inner::State, false};
// Settings processing options; the two-valued fields store their first value
inline constexpr Element Kalman{"kalman", Inner::Value, false};
inline constexpr Element KalmanK{"kalman_K", Inner::Value, false};
inline constexpr Element KalmanQ{"kalman_Q", Inner::Value, false};
inline constexpr Element KalmanThreshold1{"kalman_Threshold1", Inner::Value, false};
inline constexpr Element KalmanThreshold2{"kalman_Threshold2", Inner::Value, false};
inline constexpr Element GaussFilter{"gauss_filter", Inner::State, false};
inline constexpr Element GaussFilterIterations{"gauss_filter_iterations", Inner::Value, false};
inline constexpr Element EdgeDetection{"edge_detection", Inner::State, false};
inline constexpr Element EdgeDetectionThresholds{"edge_detection_thresholds", Inner::Value, false};
inline constexpr Element MedianFilter{"median_filter", Inner::State, false};
inline constexpr Element MedianFilterIterations{"median_filter_iterations", Inner::Value, false};
inline constexpr Element MedianFilterSize{"median_filter_size", Inner::Value, false};
inline constexpr Element GaussFilter1{"gauss_filter1", Inner::State, false};
inline constexpr Element GaussFilterIterations1{"gauss_filter_iterations1", Inner::Value, false};
inline constexpr Element PcFilter{"pc_filter", Inner::State, false};
inline constexpr Element PcFilterIterations{"pc_filter_iterations", Inner::Value, false};
// Settings logging options
inline constexpr Element LogPath{"log_path", Inner::Value, false};
inline constexpr Element LogFilename{"log_filename", Inner::Value, false};
inline constexpr Element LogNumberOfPictures{"log_numberOfPictures", Inner::Value, false};
inline constexpr Element LogLsb{"log_LSB", Inner::State, false};
inline constexpr Element LogDistance{"log_distance", Inner::State, false};
inline constexpr Element LogAmplitude{"log_amplitude", Inner::State, false};
inline constexpr Element LogFilteredDistance{"log_filtered_distance", Inner::State, false};
inline constexpr Element LogCsv{"log_CSV", Inner::State, false};
inline constexpr Element LogPng{"log_PNG", Inner::State, false};
// SettingsFLIM (timings in steps)
inline constexpr Element FlashDelay{"flash_delay", Inner::Value, true};
inline constexpr Element FlashWidth{"flash_width", Inner::Value, true};
inline constexpr Element MgaDelay{"mga_delay", Inner::Value, true};
inline constexpr Element MgaWidth{"mga_width", Inner::Value, true};
inline constexpr Element MgbDelay{"mgb_delay", Inner::Value, true};
inline constexpr Element MgbWidth{"mgb_width", Inner::Value, true};
inline constexpr Element RepetitionTime{"repetition_time", Inner::Value, true};
inline constexpr Element Repetitions{"repetitions", Inner::Value, true};
// SettingsDataValidation
inline constexpr Element Saturation{"saturation", Inner::State, true};
inline constexpr Element AdcValidation{"ADC_validation", Inner::State, true};
// SettingsROI; emulation310 only for chip types 2 and 3
inline constexpr Element X1{"x1", Inner::Value, true};
inline constexpr Element X2{"x2", Inner::Value, true};
inline constexpr Element Y1{"y1", Inner::Value, true};
inline constexpr Element Y2{"y2", Inner::Value, true};
inline constexpr Element Emulation310{"emulation310", Inner::State, true};
// SettingsBinningAndReduction
inline constexpr Element VerticalBinning{"vertical_binning", Inner::State, true};
inline constexpr Element HorizontalBinning{"horizontal_binning", Inner::State, true};
inline constexpr Element RowReduction{"row_reduction", Inner::Index, true};
// SettingsDistanceCalculation lfsrIndex, polynomialIndex
inline constexpr Element Lfsr{"LFSR", Inner::Value, true};
inline constexpr Element Polynomial{"polynomial", Inner::Value, true};
// SettingsTransformation, SettingsCalibration fov
inline constexpr Element HorizontalFlip{"horizontal_flip", Inner::State, true};
inline constexpr Element VerticalFlip{"vertical_flip", Inner::State, true};
inline constexpr Element FovLens{"FOV_lens", Inner::Value, true};
// Settings movingAverageImageNumber and window geometry
inline constexpr Element MovingAverageImageNumber{"movingAverageImageNumber", Inner::Value, true};
inline constexpr Element WindPosX{"windPosX", Inner::Value, true};
inline constexpr Element WindPosY{"windPosY", Inner::Value, true};
inline constexpr Element WindWidth{"windWidth", Inner::Value, true};
inline constexpr Element WindHeight{"windHeight", Inner::Value, true};
inline constexpr Element WindDemoPosX{"windDemoPosX", Inner::Value, true};
inline constexpr Element WindDemoPosY{"windDemoPosY", Inner::Value, true};
inline constexpr Element WindDemoWidth{"windDemoWidth", Inner::Value, true};
inline constexpr Element WindDemoHeight{"windDemoHeight", Inner::Value, true};
// SettingsCalibration correction switches, Settings enabledCalibration
inline constexpr Element DrnuCorrection{"drnuCorrection", Inner::State, true};
inline constexpr Element TemperatureCorrection{"temperatureCorrection", Inner::State, true};
inline constexpr Element GrayscaleOffset{"grayscaleOffset", Inner::State, true};
inline constexpr Element GrayscaleGain{"grayscaleGain", Inner::State, true};
inline constexpr Element EnabledCalibration{"enabledCalibration", Inner::State, true};

// Found in the older built-in default files; read without complaint and ignored.
inline constexpr char AmbientLightCorrection[] = "ambientLightCorrection";
inline constexpr char AmbientLightFactor[] = "ambientLightFactor";

// Every stored element in the order a file is written; a FLIM chip writes only those
// marked flimChip, in the same order.
inline constexpr Element All[] = {
    ModulationFrequencyIndex,
    Modulation,
    Abs,
    PiDelay,
    DualMgx,
    Hdr,
    ViewMode,
    RangeMax,
    RangeMin,
    AmplitudeMin,
    Fpn,
    Hysteresis,
    EnableAutoOffset,
    ManualOffset,
    IntegrationGrayscale,
    IntegrationTof,
    IntegrationTofHdr,
    PixelInterpolation,
    Kalman,
    KalmanK,
    KalmanQ,
    KalmanThreshold1,
    KalmanThreshold2,
    GaussFilter,
    GaussFilterIterations,
    EdgeDetection,
    EdgeDetectionThresholds,
    MedianFilter,
    MedianFilterIterations,
    MedianFilterSize,
    GaussFilter1,
    GaussFilterIterations1,
    PcFilter,
    PcFilterIterations,
    LogPath,
    LogFilename,
    LogNumberOfPictures,
    LogLsb,
    LogDistance,
    LogAmplitude,
    LogFilteredDistance,
    LogCsv,
    LogPng,
    FlashDelay,
    FlashWidth,
    MgaDelay,
    MgaWidth,
    MgbDelay,
    MgbWidth,
    RepetitionTime,
    Repetitions,
    Saturation,
    AdcValidation,
    X1,
    X2,
    Y1,
    Y2,
    Emulation310,
    VerticalBinning,
    HorizontalBinning,
    RowReduction,
    Lfsr,
    Polynomial,
    HorizontalFlip,
    VerticalFlip,
    FovLens,
    MovingAverageImageNumber,
    WindPosX,
    WindPosY,
    WindWidth,
    WindHeight,
    WindDemoPosX,
    WindDemoPosY,
    WindDemoWidth,
    WindDemoHeight,
    DrnuCorrection,
    TemperatureCorrection,
    GrayscaleOffset,
    GrayscaleGain,
    EnabledCalibration,
};
inline constexpr int Count = int(std::size(All));

} // namespace SettingsXml

#pragma once

#include <QString>

// The command texts of the camera's command server, built in one place. Every sender takes
// its text from here and hands it to ZelTcp::setCommand(), which appends the line feed.
//
// Grammar: a keyword, then each argument after exactly one space. Integers in plain decimal
// (minus sign, no leading zeros, no grouping); switches "1" / "0" (on for "correctDRNU" and
// "correctTemperature" is "2"); fractions as C printf "%2.4f" / "%2.2f" with a full stop,
// whatever the system locale; register address and value as two upper-case hex digits.
//
// The time-out each sender uses is in Commands::Timeout; the reply readers are in Replies.
namespace Commands {

// Time-outs in ms. Blocking exchanges use them with ZelTcp::sendCommand(), event-driven ones
// with ZelTcp::startCommand() (frames use the acquisition time-out instead).
namespace Timeout {
constexpr int settings = 100;     // every acquisition setting unless noted below
constexpr int versionCheck = 100; // "version" of the console's connection test
constexpr int chipInfo = 200;
constexpr int startVideo = 200;
constexpr int stopVideo = 500; // after closeAfterWait(500)
constexpr int loadConfig = 500;
constexpr int dumpAllRegisters = 1000;
constexpr int slow = 5000; // getPartVersion, speed of light, setModulationFrequency, corrections
constexpr int correctDRNU = 20000;
constexpr int renewDRNU = 50000; // also "showDRNU" typed into the console
constexpr int console = 100000;
constexpr int searchBadPixels = 500000;     // event-driven
constexpr int factoryCalibration = 500000;  // event-driven, typed into the console
constexpr int calibrateDRNU = 5000000;      // event-driven
constexpr int closeBeforeVideoSwitch = 500; // closeAfterWait before "startVideo" / "stopVideo"
} // namespace Timeout

// Connection, identification and server state
QString version();                               // int16: major*10000 + minor*100 + patch, -1 too old
QString getIcVersion();                          // int16, low 8 bits
QString getModulationFrequencies();              // int32 list, kHz
QString getCalibrationTypeForFreqIdx(int index); // int16
QString writeRegister(int address, int value);   // "w 11 FA", no reply
QString readRegister(int address);               // "r 12", int16
QString selectChipTypeRegister();                // "w 11 FA", sent right before readChipType()
QString readChipType();                          // "r 12": int16 chip type code 1..5
QString getPartVersion();                        // int16, Timeout::slow
QString flimGetStep();                           // "FLIMGetStep": int16, ps per FLIM step
QString getOffset();                             // int16: automatic distance offset
QString getChipInfo();                           // int16 list of 8, Timeout::chipInfo
QString dumpAllRegisters();                      // int16 list of 256
QString getTemperature();                        // int16 list of 6, acquisition time-out
QString getSpeedOfLight();                       // double, Timeout::slow
QString setSpeedOfLight(const QString& asTyped); // the value exactly as the user typed it
QString startVideo();
QString stopVideo();

// Image requests (event-driven, acquisition time-out)
QString getBWSorted();
QString getDistanceAndAmplitudeSorted();
QString getAmplitudeSorted();
QString getDCSSorted();
QString getDCSTOFAndGrayscaleSorted();

// Acquisition settings (Timeout::settings, no reply, unless noted)
QString setIntegrationTime2D(int microseconds);
QString setIntegrationTime3D(int microseconds);
QString setIntegrationTime3DHDR(int microseconds);
QString setModulationFrequency(int frequencyIndex); // Timeout::slow
QString setMinAmplitude(int lsb);
QString setHysteresis(int lsb);       // 0 switches hysteresis off
QString enableDefaultOffset(bool on); // always followed by setOffset()
QString setOffset(int offset);
QString enableTempCorrection(bool on);
// The four values as sent; the ROI controller substitutes the fixed bottom row for the
// mirrored-half sensors.
QString setROI(int left, int right, int top, int bottom);
QString enableHorizontalBinning(bool on);
QString enableVerticalBinning(bool on); // always followed by setRowReduction()
QString setRowReduction(int index);     // 0 full, 1 half, 2 quarter, 3 one eighth
QString enablePiDelay(bool on);
QString enableDualMGX(bool on);
QString enableHDR(bool on);
QString selectMode(int modulationModeIndex); // 0 = sinusoidal
// Takes the LFSR-stage index of the settings and sends it plus 1.
QString selectPolynomial(int lfsrIndex, int polynomialIndex);
QString setABS(bool on);
QString enableSaturation(bool on);
QString enableAdcOverflow(bool on);
QString setImageAveraging(int factor); // 1..256; the start-up sends 0
QString flimSetFlashDelay(int steps);
QString flimSetFlashWidth(int steps);
QString flimSetT(int gate, int steps); // gate 1..4: "FLIMSetT1" .. "FLIMSetT4"
QString flimSetTrep(int steps);
QString flimSetRepetitions(int cycles);

// Processing and corrections
QString loadConfig(int viewModeIndex);    // "loadConfig 0" for grayscale, 1 for every other mode
QString getBadPixels();                   // point list, Timeout::slow
QString correctGrayscaleOffset(bool on);  // Timeout::slow
QString correctGrayscaleGain(bool on);    // Timeout::slow
QString correctDRNU(bool on);             // on is "2"; Timeout::correctDRNU
QString correctTemperature(bool on);      // on is "2"; Timeout::slow
QString showDRNU();                       // DRNU table, Timeout::slow
QString hideDRNU();                       // Timeout::slow
QString isGrayscaleCorrectionAvailable(); // flag byte, Timeout::slow
QString isDRNUAvailable();                // flag byte, Timeout::slow
QString isFlimCorrectionAvailable();      // flag byte, Timeout::slow
QString kalman(int variant);              // 0 off, 1..3 the filter variants
QString setKalmanK(double gain);          // "%2.4f"
QString setKalmanQ(double factor);        // "%2.4f"
QString setKalmanThreshold(int lsb);
QString setKalmanThreshold2(int lsb);
QString setKalmanKdiff(double factor); // "%2.2f"
QString setKalmanNumCheck(int checks);
QString enableArgCheck(bool on);    // distortion (interference) detection
QString correctFlimOffset(bool on); // FLIM DSNU
QString correctFlimGain(bool on);   // FLIM PRNU
QString filterMode(bool gaussOn);   // "filterMode 3" / "filterMode 0"
QString nloopFilter(int iterations);

// Calibration and service
QString searchBadPixels();    // int16 status, Timeout::searchBadPixels, event-driven
QString calibrateDRNU();      // int16 status, Timeout::calibrateDRNU, event-driven
QString renewDRNU();          // DRNU table, Timeout::renewDRNU
QString factoryCalibration(); // int16 status, Timeout::factoryCalibration, event-driven

// What the command console recognises in a typed line ("contains" means anywhere in the
// text, case-sensitive; "equals" the whole text). The camera commands among them are the
// ones above; the others never reach the camera.
namespace Console {
constexpr const char* calibrationOn = "calibration on"; // client: unlocks the calibration page
constexpr const char* calibrationOff = "calibration off";
constexpr const char* tof = "tof"; // TOF / FLIM operation switches, sent then reloaded
constexpr const char* flim = "flim";
constexpr const char* fpsOn = "fps on"; // client: frame-rate display
constexpr const char* fpsOff = "fps off";
constexpr const char* setEdgeDiffLSB = "setEdgeDiffLSB"; // client: edge-detection threshold
// The failure answer of a generic command.
constexpr const char* operationFailed = "operation failed...";
} // namespace Console

} // namespace Commands

#pragma once

class QString;
class Settings;

// The length of a complete frame reply for the settings that were sent to the camera: the
// images the command returns times the words of the sensor's readout for the ROI, binning,
// row reduction and dual-MGX settings, two bytes a word. A reply of another length was cut
// short or garbled on its way; it is still decoded, but counted as an incomplete frame.
namespace FrameSize {

// Bytes of a complete reply to an image request; -1 for a command that is not one.
int expectedBytes(const Settings* settings, const QString& command);
// The images of one reply: 2 for distance and amplitude, the samples in use for the
// correlation samples, 5 for samples with grayscale, otherwise 1; 0 for other commands.
int imageCount(const Settings* settings, const QString& command);
// The 16-bit words of one image.
int wordsPerImage(const Settings* settings, bool tofImage);

} // namespace FrameSize

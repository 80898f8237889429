// The device: starting and stopping its output around the mixer.
#include "tvlib/platform/audio/TAudioDevice.h"

std::unique_ptr<TAudioDevice> TAudioDevice::Open(std::unique_ptr<TAudioOutput> output) {
  if (!output) return nullptr;
  std::unique_ptr<TAudioDevice> device(new TAudioDevice(std::move(output)));
  if (!device->mOutput->Start(&device->mMixer)) {
    device->mOutput.reset();
    return nullptr;
  }
  return device;
}

TAudioDevice::TAudioDevice(std::unique_ptr<TAudioOutput> output) : mOutput(std::move(output)) {}

TAudioDevice::~TAudioDevice() {
  if (mOutput) mOutput->Stop();
}

std::unique_ptr<TAudioBuffer> TAudioDevice::CreateBuffer(int rate, int channels, int bytes) {
  if (mFailures > 0) {
    --mFailures;
    return nullptr;
  }
  return mMixer.CreateBuffer(rate, channels, bytes);
}

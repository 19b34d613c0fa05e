// The sample game's sounds, synthesized by code (see SampleSounds.h).
//
// Index: the sound buffer and its instruments · sound effects · music · voice lines · the list.
#include "qvtool/SampleSounds.h"

#include <algorithm>
#include <cmath>

#include "qvtool/VorbisEncoding.h"
#include "qvtool/WaveFile.h"

namespace qv::tool {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;

double NoteHz(double midiNote) {
  return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

// ---- The sound buffer and its instruments ----

// sin(2 pi x) for a phase x in cycles, from a table: tens of millions of oscillator steps go into
// the sample's music, which the library's sin would make take seconds in a debug build.
class Sine {
 public:
  Sine() {
    for (int i = 0; i <= kSize; ++i) table_[i] = std::sin(kTwoPi * i / kSize);
  }
  double operator()(double cycles) const {
    const double x = (cycles - std::floor(cycles)) * kSize;
    const int i = static_cast<int>(x);
    return table_[i] + (table_[i + 1] - table_[i]) * (x - i);
  }

 private:
  static constexpr int kSize = 8192;
  double table_[kSize + 1];
};

const Sine& SineTable() {
  static const Sine sine;
  return sine;
}

// Equal-power gains of a position from -1 (left) to 1 (right).
struct Pan {
  explicit Pan(double position = 0)
      : left(std::cos((position + 1) * kPi / 4)), right(std::sin((position + 1) * kPi / 4)) {}
  double left, right;
};

// Interleaved float samples that instruments add into.
struct Sound {
  Sound(int rate, int channels, double seconds)
      : rate(rate),
        channels(channels),
        frames(static_cast<int>(std::lround(seconds * rate))),
        samples(static_cast<size_t>(frames) * channels) {}

  // Adds `value` at `frame`, spread over the channels by `pan`.
  void Add(int frame, double value, const Pan& pan = Pan()) {
    if (frame < 0 || frame >= frames) return;
    if (channels == 1) {
      samples[frame] += static_cast<float>(value);
      return;
    }
    samples[2 * frame] += static_cast<float>(value * pan.left);
    samples[2 * frame + 1] += static_cast<float>(value * pan.right);
  }

  int Frame(double seconds) const { return static_cast<int>(std::lround(seconds * rate)); }

  // Scales the whole sound so that its loudest sample is `peak`.
  void Normalize(double peak) {
    float loudest = 0;
    for (float s : samples) loudest = std::max(loudest, std::abs(s));
    if (loudest == 0) return;
    const float gain = static_cast<float>(peak / loudest);
    for (float& s : samples) s *= gain;
  }

  // Raised-cosine fades at both ends, so the sound starts and stops at silence (and a loop
  // joins without a click).
  void FadeEnds(double inSeconds, double outSeconds) {
    const int in = Frame(inSeconds), out = Frame(outSeconds);
    for (int f = 0; f < frames; ++f) {
      double gain = 1;
      if (f < in) gain *= 0.5 - 0.5 * std::cos(kPi * f / in);
      const int fromEnd = frames - 1 - f;
      if (fromEnd < out) gain *= 0.5 - 0.5 * std::cos(kPi * fromEnd / out);
      for (int c = 0; c < channels; ++c) samples[f * channels + c] *= static_cast<float>(gain);
    }
  }

  std::vector<int16_t> Pcm16() const {
    std::vector<int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
      const double s = std::clamp(static_cast<double>(samples[i]), -1.0, 1.0);
      pcm[i] = static_cast<int16_t>(std::lround(s * 32767));
    }
    return pcm;
  }

  int rate, channels, frames;
  std::vector<float> samples;
};

struct Partial {
  double ratio;  // frequency as a multiple of the note's
  double level;
  double decay;  // seconds for the level to fall to 1/e
};

// A struck note (pluck, bell, chime): partials that each die away, after a short attack.
void Strike(Sound& sound, double start, double hz, double level, double pan,
            std::initializer_list<Partial> partials, double attack = 0.004) {
  const Sine& sine = SineTable();
  const Pan gains(pan);
  const int first = sound.Frame(start), attackFrames = std::max(1, sound.Frame(attack));
  for (const Partial& p : partials) {
    // Each partial until it has fallen below a thousandth of its start.
    const int length = sound.Frame(p.decay * 7);
    const double fall = std::exp(-1.0 / (p.decay * sound.rate)), step = hz * p.ratio / sound.rate;
    double amplitude = level * p.level, phase = 0;
    for (int i = 0; i < length; ++i) {
      const double rise = i < attackFrames ? static_cast<double>(i) / attackFrames : 1;
      sound.Add(first + i, rise * amplitude * sine(phase), gains);
      amplitude *= fall;
      phase += step;
    }
  }
}

// A held note (pad, flute): soft attack and release, a slightly detuned twin for warmth and, when
// asked, a gentle vibrato that sets in after the attack.
void Hold(Sound& sound, double start, double hold, double hz, double level, double pan,
          double attack, double release, double vibrato = 0, double brightness = 0.15) {
  const Sine& sine = SineTable();
  const Pan gains(pan);
  const int first = sound.Frame(start), length = sound.Frame(hold + release);
  double phaseA = 0, phaseB = 0;
  for (int i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / sound.rate;
    double envelope = 1;
    if (t < attack) envelope = 0.5 - 0.5 * sine(0.25 + 0.5 * t / attack);
    if (t > hold) envelope *= 0.5 + 0.5 * sine(0.25 + 0.5 * std::min(1.0, (t - hold) / release));
    const double wobble =
        t > attack ? vibrato * std::min(1.0, (t - attack) / 0.3) * sine(5.2 * t) : 0;
    const double f = hz * (1 + wobble);
    phaseA += f / sound.rate;
    phaseB += f * 1.0025 / sound.rate;
    const double value = sine(phaseA) + brightness * sine(2 * phaseA) + 0.6 * sine(phaseB) +
                         0.4 * brightness * sine(2 * phaseB);
    sound.Add(first + i, level * envelope * value / 1.6, gains);
  }
}

const std::initializer_list<Partial> kPluck = {
    {1, 1.0, 0.55}, {2, 0.35, 0.3}, {3, 0.12, 0.18}, {4, 0.05, 0.1}};
const std::initializer_list<Partial> kBell = {
    {1, 1.0, 0.9}, {2.76, 0.3, 0.35}, {5.4, 0.12, 0.15}, {8.93, 0.04, 0.08}};
const std::initializer_list<Partial> kBass = {{1, 1.0, 1.1}, {2, 0.3, 0.5}, {3, 0.08, 0.3}};

// ---- Sound effects ----

constexpr int kEffectRate = 22050;

// A rising four-note chime while the logo shows.
Sound LogoChime() {
  Sound sound(kEffectRate, 1, 2.0);
  const double notes[] = {72, 76, 79, 84};  // C6 E6 G6 C7
  for (int i = 0; i < 4; ++i) {
    Strike(sound, 0.02 + i * 0.12, NoteHz(notes[i]), 1.0 - i * 0.1, 0,
           {{1, 1.0, 0.45}, {2, 0.25, 0.2}, {3.01, 0.08, 0.1}, {4.2, 0.04, 0.06}});
  }
  sound.Normalize(0.6);
  sound.FadeEnds(0.002, 0.25);
  return sound;
}

// A short high tick for the pointer moving onto a button.
Sound HoverTick() {
  Sound sound(kEffectRate, 1, 0.06);
  Strike(sound, 0, 2600, 1, 0, {{1, 1.0, 0.008}, {2, 0.3, 0.004}}, 0.0008);
  sound.Normalize(0.45);
  sound.FadeEnds(0.0005, 0.01);
  return sound;
}

// A soft click with a falling pitch, for pressing a button.
Sound ButtonClick() {
  Sound sound(kEffectRate, 1, 0.09);
  double phase = 0;
  for (int i = 0; i < sound.frames; ++i) {
    const double t = static_cast<double>(i) / sound.rate;
    const double hz = 700 + 700 * std::exp(-t / 0.01);
    phase += kTwoPi * hz / sound.rate;
    const double rise = std::min(1.0, t / 0.001);
    sound.Add(i, rise * std::exp(-t / 0.016) * (std::sin(phase) + 0.25 * std::sin(2 * phase)));
  }
  sound.Normalize(0.55);
  sound.FadeEnds(0.0005, 0.015);
  return sound;
}

// ---- Music ----

constexpr int kMusicRate = 44100;

struct Chord {
  int root;          // MIDI note of the chord's root, around middle C
  int third, fifth;  // semitones above the root
};

struct MelodyNote {
  double beat;  // from the start of the piece
  double beats;
  int note;
};

// The title theme: eight bars in C major at 80 beats a minute (24 s), a pad, a bass, a plucked
// arpeggio and a flute-like tune. Every note has died away before the end and the first begins
// from silence, so the loop joins without a click.
Sound Theme() {
  constexpr double kBeat = 0.75, kBar = 4 * kBeat;
  const Chord chords[] = {{60, 4, 7}, {57, 3, 7}, {53, 4, 7}, {55, 4, 7},
                          {60, 4, 7}, {52, 3, 7}, {53, 4, 7}, {55, 4, 7}};
  constexpr int kBars = 8;
  Sound sound(kMusicRate, 2, kBars * kBar);
  for (int bar = 0; bar < kBars; ++bar) {
    const Chord& c = chords[bar];
    const double start = bar * kBar;
    const bool last = bar == kBars - 1;
    // Each pad chord fades into the next; the last one has faded out by the end.
    const double hold = last ? kBar - 1.1 : kBar;
    for (int tone : {0, c.third, c.fifth, 12}) {
      Hold(sound, start, hold, NoteHz(c.root + tone - 12), 0.12, tone % 2 ? 0.4 : -0.4, 0.5, 0.8);
    }
    Strike(sound, start, NoteHz(c.root - 24), 0.35, 0, kBass);
    if (!last) Strike(sound, start + 2 * kBeat, NoteHz(c.root - 24 + c.fifth), 0.25, 0, kBass);
    // Eighth-note arpeggio up and back down; the last bar stops half way to leave room to ring.
    const int pattern[] = {0, c.third, c.fifth, 12, c.third + 12, 12, c.fifth, c.third};
    for (int step = 0; step < (last ? 4 : 8); ++step) {
      const double pan = -0.5 + step / 7.0;
      Strike(sound, start + step * kBeat / 2, NoteHz(c.root + pattern[step]), 0.16, pan, kPluck);
    }
  }
  const MelodyNote melody[] = {{0, 2, 76},  {2, 1, 79},  {3, 1, 76},  {4, 3, 72},   {7, 1, 69},
                               {8, 2, 69},  {10, 1, 72}, {11, 1, 77}, {12, 4, 74},  {16, 1, 76},
                               {17, 1, 79}, {18, 2, 84}, {20, 2, 83}, {22, 2, 79},  {24, 1, 81},
                               {25, 1, 79}, {26, 1, 77}, {27, 1, 76}, {28, 2.5, 74}};
  for (const MelodyNote& n : melody) {
    Hold(sound, n.beat * kBeat, n.beats * kBeat - 0.12, NoteHz(n.note), 0.2, 0.1, 0.06, 0.2, 0.004,
         0.25);
  }
  sound.Normalize(0.8);
  sound.FadeEnds(0.003, 0.3);
  return sound;
}

// The evening music for a change of scene: four slower bars in A minor (12 s), bells over a pad
// and a bass, looping like the theme.
Sound Evening() {
  constexpr double kBeat = 0.75, kBar = 4 * kBeat;
  const Chord chords[] = {{57, 3, 7}, {53, 4, 7}, {50, 3, 7}, {52, 4, 7}};
  constexpr int kBars = 4;
  Sound sound(kMusicRate, 2, kBars * kBar);
  for (int bar = 0; bar < kBars; ++bar) {
    const Chord& c = chords[bar];
    const double start = bar * kBar;
    const bool last = bar == kBars - 1;
    const double hold = last ? kBar - 1.2 : kBar;
    for (int tone : {0, c.third, c.fifth}) {
      Hold(sound, start, hold, NoteHz(c.root + tone - 12), 0.14, tone == c.third ? 0.3 : -0.3, 0.8,
           0.9);
    }
    Strike(sound, start, NoteHz(c.root - 24), 0.3, 0, kBass);
    const int pattern[] = {12, c.fifth + 12, c.third + 12, c.fifth + 12};
    for (int step = 0; step < (last ? 2 : 4); ++step) {
      Strike(sound, start + step * kBeat, NoteHz(c.root + pattern[step]), 0.14,
             step % 2 ? 0.35 : -0.35, kBell);
    }
  }
  sound.Normalize(0.75);
  sound.FadeEnds(0.003, 0.3);
  return sound;
}

// ---- Voice lines ----

constexpr int kVoiceRate = 22050;

// The first three resonances of the vowels, in Hz.
struct Vowel {
  double f1, f2, f3;
};

Vowel VowelOf(char v) {
  switch (v) {
    case 'a':
      return {850, 1610, 2850};
    case 'i':
      return {310, 2790, 3300};
    case 'u':
      return {360, 1400, 2650};
    case 'e':
      return {500, 2300, 3000};
    default:
      return {500, 900, 2800};  // 'o'
  }
}

struct Formant {
  double centre, width, gain;
};

struct Syllable {
  char vowel;
  double seconds;
  double pitch;  // relative to the speaker's own
};

// A murmured line: a glottal buzz shaped by the vowels' resonances, one syllable after another
// with a short dip between them, over a falling or rising intonation. Sounds like speech heard
// through a wall, which is all a test game needs to tell its lines apart.
Sound Murmur(double speakerHz, std::initializer_list<Syllable> syllables, double lift) {
  double total = 0.1;
  for (const Syllable& s : syllables) total += s.seconds;
  Sound sound(kVoiceRate, 1, total + 0.15);
  constexpr int kHarmonics = 40;
  std::vector<double> phases(kHarmonics + 1, 0.0);
  const Sine& sine = SineTable();
  double start = 0.1;
  for (const Syllable& s : syllables) {
    const Vowel vowel = VowelOf(s.vowel);
    const Formant formants[] = {{vowel.f1, 90, 1.0}, {vowel.f2, 120, 0.5}, {vowel.f3, 160, 0.25}};
    const int first = sound.Frame(start), length = sound.Frame(s.seconds);
    for (int i = 0; i < length; ++i) {
      const double t = static_cast<double>(i) / sound.rate;
      const double along = (start + t) / total;  // 0..1 through the line
      const double hz = speakerHz * s.pitch * (1 + lift * along);
      // Each syllable swells and fades: the dips between them read as consonants.
      const double envelope = std::pow(std::max(0.0, sine(0.5 * t / s.seconds)), 0.6);
      double value = 0;
      for (int k = 1; k <= kHarmonics && k * hz < 4500; ++k) {
        const double f = k * hz;
        double shape = 0;
        for (const Formant& formant : formants) {
          const double d = (f - formant.centre) / formant.width;
          shape += formant.gain / (1 + d * d);
        }
        phases[k] += f / sound.rate;
        value += shape / k * sine(phases[k]);
      }
      sound.Add(first + i, envelope * value);
    }
    start += s.seconds;
  }
  sound.Normalize(0.7);
  sound.FadeEnds(0.01, 0.05);
  return sound;
}

// ---- The list ----

struct Named {
  const char* path;
  Sound sound;
};

}  // namespace

SampleSoundsOutcome SampleSounds() {
  SampleSoundsOutcome outcome;
  const Named effects[] = {{"sound\\logo.wav", LogoChime()},
                           {"sound\\move.wav", HoverTick()},
                           {"sound\\click.wav", ButtonClick()}};
  for (const Named& e : effects) {
    outcome.sounds.push_back({e.path, EncodeWave(e.sound.Pcm16(), e.sound.channels, e.sound.rate),
                              static_cast<double>(e.sound.frames) / e.sound.rate});
  }
  // Hina speaks higher than Aoi; each line has its own vowels and intonation.
  const Named vorbis[] = {
      {"bgm\\theme.ogg", Theme()},
      {"bgm\\evening.ogg", Evening()},
      {"voice\\hina01.ogg", Murmur(250,
                                   {{'a', 0.22, 1},
                                    {'i', 0.2, 1.08},
                                    {'a', 0.22, 1.04},
                                    {'o', 0.22, 0.98},
                                    {'u', 0.34, 0.92}},
                                   0.12)},
      {"voice\\hina02.ogg", Murmur(260,
                                   {{'e', 0.3, 1.1},
                                    {'e', 0.25, 1.0},
                                    {'o', 0.22, 1.02},
                                    {'u', 0.2, 0.98},
                                    {'a', 0.22, 0.96},
                                    {'e', 0.4, 0.9}},
                                   -0.15)},
      {"voice\\aoi01.ogg",
       Murmur(190, {{'o', 0.25, 1}, {'a', 0.24, 1.05}, {'o', 0.24, 1.0}, {'u', 0.4, 0.9}}, -0.1)},
      {"voice\\aoi02.ogg", Murmur(200,
                                  {{'a', 0.22, 1},
                                   {'a', 0.22, 0.98},
                                   {'a', 0.26, 1.02},
                                   {'i', 0.2, 1.0},
                                   {'a', 0.45, 1.05}},
                                  0.25)},
  };
  int serial = 1;
  for (const Named& v : vorbis) {
    VorbisInput input;
    input.samples = v.sound.samples;
    input.channels = v.sound.channels;
    input.rate = v.sound.rate;
    input.serialNumber = serial++;
    VorbisOutcome encoded = EncodeVorbis(input);
    if (!encoded.succeeded) {
      outcome.error = std::string(v.path) + ": " + encoded.error;
      return outcome;
    }
    outcome.sounds.push_back(
        {v.path, std::move(encoded.bytes), static_cast<double>(v.sound.frames) / v.sound.rate});
  }
  outcome.succeeded = true;
  return outcome;
}

}  // namespace qv::tool

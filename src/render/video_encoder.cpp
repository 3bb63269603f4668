#include "render/video_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace rirerazo::render {
namespace {

std::string AvError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The encoders tried for each container, best first: a build without the preferred one
// still writes a file the container can hold.
struct Codecs {
  std::vector<const char*> video;
  std::vector<const char*> audio;
};

Codecs CodecsFor(const std::string& container) {
  if (container == "webm") return {{"libvpx-vp9", "libvpx"}, {"libopus", "opus", "libvorbis"}};
  return {{"libx264", "libopenh264", "mpeg4"}, {"aac", "libfdk_aac", "mp3", "libmp3lame"}};
}

const AVCodec* FirstEncoder(const std::vector<const char*>& names) {
  for (const char* name : names) {
    if (const AVCodec* codec = avcodec_find_encoder_by_name(name)) return codec;
  }
  return nullptr;
}

void Check(int code, const std::string& what) {
  if (code < 0) throw EncodeError(what + ": " + AvError(code));
}

// The temporary name: beside the final file (so the rename stays on one file system) and
// hidden, with the process id so two renders to one name do not meet.
std::string TemporaryPath(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + "." + std::to_string(getpid()) + ".part";
}

}  // namespace

std::string ContainerForPath(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  const std::string extension = Lower(path.substr(dot + 1));
  if (extension == "mp4" || extension == "webm") return extension;
  return {};
}

struct VideoEncoder::State {
  EncoderSettings settings;
  std::string container;
  std::string temporary_path;
  AVFormatContext* format = nullptr;
  AVCodecContext* video = nullptr;
  AVCodecContext* audio = nullptr;
  AVStream* video_stream = nullptr;
  AVStream* audio_stream = nullptr;
  SwsContext* scaler = nullptr;
  SwrContext* resampler = nullptr;
  AVFrame* picture = nullptr;
  AVFrame* sound = nullptr;
  AVPacket* packet = nullptr;
  std::vector<std::int16_t> pending_sound;  // interleaved, less than one audio frame
  std::int64_t frames = 0;
  std::int64_t sound_frames = 0;  // sample frames handed to the audio encoder
  bool file_open = false;
  bool finished = false;

  ~State() {
    sws_freeContext(scaler);
    swr_free(&resampler);
    av_frame_free(&picture);
    av_frame_free(&sound);
    av_packet_free(&packet);
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    if (format) {
      if (file_open) avio_closep(&format->pb);
      avformat_free_context(format);
    }
    if (!finished && file_open) std::remove(temporary_path.c_str());
  }

  void OpenVideo(const AVCodec* codec);
  void OpenAudio(const AVCodec* codec);
  void Drain(AVCodecContext* context, AVStream* stream);
  void Send(AVCodecContext* context, AVStream* stream, AVFrame* frame);
  void EncodeSoundFrame(const std::int16_t* samples, int sample_frames);
};

void VideoEncoder::State::OpenVideo(const AVCodec* codec) {
  video = avcodec_alloc_context3(codec);
  video->width = settings.width_px;
  video->height = settings.height_px;
  video->time_base = AVRational{1, settings.frames_per_second};
  video->framerate = AVRational{settings.frames_per_second, 1};
  video->gop_size = settings.frames_per_second * 2;  // a key frame every two seconds
  video->pix_fmt = AV_PIX_FMT_YUV420P;
  video->thread_count = 0;
  if (format->oformat->flags & AVFMT_GLOBALHEADER) video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  // Fast settings: a render should take a fraction of the show's length on a small machine.
  const std::string name = codec->name;
  if (name == "libx264") {
    av_opt_set(video->priv_data, "preset", "ultrafast", 0);
    av_opt_set(video->priv_data, "crf", "23", 0);
  } else if (name == "libvpx-vp9" || name == "libvpx") {
    av_opt_set(video->priv_data, "deadline", "realtime", 0);
    av_opt_set(video->priv_data, "cpu-used", "8", 0);
    av_opt_set(video->priv_data, "row-mt", "1", 0);
    av_opt_set(video->priv_data, "crf", "32", 0);
    video->bit_rate = 0;
  } else {
    video->bit_rate = std::int64_t(settings.width_px) * settings.height_px * 3;
  }
  Check(avcodec_open2(video, codec, nullptr), std::string("cannot open the encoder ") + name);
  video_stream = avformat_new_stream(format, nullptr);
  video_stream->time_base = video->time_base;
  Check(avcodec_parameters_from_context(video_stream->codecpar, video), "video stream");
  picture = av_frame_alloc();
  picture->format = video->pix_fmt;
  picture->width = video->width;
  picture->height = video->height;
  Check(av_frame_get_buffer(picture, 0), "picture buffer");
  scaler = sws_getContext(settings.width_px, settings.height_px, AV_PIX_FMT_BGRA, video->width,
                          video->height, video->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
  if (!scaler) throw EncodeError("cannot convert pictures for the video encoder");
}

// The sample format and rate the encoder takes that suit 16-bit sound best.
static AVSampleFormat SampleFormatFor(const AVCodec* codec) {
  if (!codec->sample_fmts) return AV_SAMPLE_FMT_S16;
  for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
    if (*f == AV_SAMPLE_FMT_S16) return *f;
  }
  return codec->sample_fmts[0];
}

void VideoEncoder::State::OpenAudio(const AVCodec* codec) {
  audio = avcodec_alloc_context3(codec);
  audio->sample_fmt = SampleFormatFor(codec);
  audio->sample_rate = settings.sample_rate_hz;
  av_channel_layout_default(&audio->ch_layout, settings.channels);
  audio->bit_rate = 128000;
  audio->time_base = AVRational{1, settings.sample_rate_hz};
  audio->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;  // the built-in Opus encoder
  // The built-in AAC encoder's fast search costs a fraction of its default's, at a quality
  // that speech and short sounds do not need more than.
  if (std::string(codec->name) == "aac") av_opt_set(audio->priv_data, "aac_coder", "fast", 0);
  if (format->oformat->flags & AVFMT_GLOBALHEADER) audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(audio, codec, nullptr),
        std::string("cannot open the encoder ") + codec->name);
  audio_stream = avformat_new_stream(format, nullptr);
  audio_stream->time_base = audio->time_base;
  Check(avcodec_parameters_from_context(audio_stream->codecpar, audio), "audio stream");
  AVChannelLayout in_layout;
  av_channel_layout_default(&in_layout, settings.channels);
  Check(swr_alloc_set_opts2(&resampler, &audio->ch_layout, audio->sample_fmt, audio->sample_rate,
                            &in_layout, AV_SAMPLE_FMT_S16, settings.sample_rate_hz, 0, nullptr),
        "sound conversion");
  Check(swr_init(resampler), "sound conversion");
  sound = av_frame_alloc();
  sound->format = audio->sample_fmt;
  sound->sample_rate = audio->sample_rate;
  av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
  sound->nb_samples = audio->frame_size > 0 ? audio->frame_size : 1024;
  Check(av_frame_get_buffer(sound, 0), "sound buffer");
}

// Writes every packet the encoder has ready.
void VideoEncoder::State::Drain(AVCodecContext* context, AVStream* stream) {
  while (true) {
    const int code = avcodec_receive_packet(context, packet);
    if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return;
    Check(code, "encoding failed");
    av_packet_rescale_ts(packet, context->time_base, stream->time_base);
    packet->stream_index = stream->index;
    Check(av_interleaved_write_frame(format, packet), "cannot write '" + settings.path + "'");
  }
}

void VideoEncoder::State::Send(AVCodecContext* context, AVStream* stream, AVFrame* frame) {
  Check(avcodec_send_frame(context, frame), "encoding failed");
  Drain(context, stream);
}

void VideoEncoder::State::EncodeSoundFrame(const std::int16_t* samples, int sample_frames) {
  Check(av_frame_make_writable(sound), "sound buffer");
  const std::uint8_t* in[] = {reinterpret_cast<const std::uint8_t*>(samples)};
  const int converted = swr_convert(resampler, sound->data, sound->nb_samples, in, sample_frames);
  Check(converted, "sound conversion");
  sound->nb_samples = converted;
  sound->pts = sound_frames;
  sound_frames += converted;
  Send(audio, audio_stream, sound);
  sound->nb_samples = audio->frame_size > 0 ? audio->frame_size : 1024;
}

VideoEncoder::VideoEncoder(const EncoderSettings& settings) : state_(std::make_unique<State>()) {
  // The libraries' own reports (encoder statistics, muxer passes) are not for the user;
  // failures reach the user through EncodeError.
  av_log_set_level(AV_LOG_QUIET);
  State& s = *state_;
  s.settings = settings;
  s.container = ContainerForPath(settings.path);
  if (s.container.empty()) {
    throw EncodeError("'" + settings.path + "': the video file's name must end in .mp4 or .webm");
  }
  if (settings.width_px <= 0 || settings.height_px <= 0 || settings.width_px % 2 ||
      settings.height_px % 2 || settings.frames_per_second <= 0) {
    throw EncodeError("the video's size must be even numbers of pixels and its rate positive");
  }
  const Codecs codecs = CodecsFor(s.container);
  const AVCodec* video_codec = FirstEncoder(codecs.video);
  const AVCodec* audio_codec = FirstEncoder(codecs.audio);
  if (!video_codec || !audio_codec) {
    throw EncodeError("this FFmpeg has no " + std::string(video_codec ? "sound" : "video") +
                      " encoder for ." + s.container + " files");
  }
  s.temporary_path = TemporaryPath(settings.path);
  Check(avformat_alloc_output_context2(&s.format, nullptr, s.container.c_str(),
                                       s.temporary_path.c_str()),
        "cannot write ." + s.container + " files");
  s.packet = av_packet_alloc();
  s.OpenVideo(video_codec);
  s.OpenAudio(audio_codec);
  const int opened = avio_open(&s.format->pb, s.temporary_path.c_str(), AVIO_FLAG_WRITE);
  if (opened < 0) throw EncodeError("cannot write '" + settings.path + "': " + AvError(opened));
  s.file_open = true;
  AVDictionary* options = nullptr;
  if (s.container == "mp4") av_dict_set(&options, "movflags", "+faststart", 0);
  const int header = avformat_write_header(s.format, &options);
  av_dict_free(&options);
  Check(header, "cannot write '" + settings.path + "'");
}

VideoEncoder::~VideoEncoder() = default;

void VideoEncoder::AddFrame(const std::uint8_t* pixels, int stride_bytes) {
  State& s = *state_;
  Check(av_frame_make_writable(s.picture), "picture buffer");
  const std::uint8_t* planes[] = {pixels};
  const int strides[] = {stride_bytes};
  sws_scale(s.scaler, planes, strides, 0, s.settings.height_px, s.picture->data,
            s.picture->linesize);
  s.picture->pts = s.frames++;
  s.Send(s.video, s.video_stream, s.picture);
}

// The encoders copy a picture's planes when they take it, so the converted picture is
// still in `picture` and can be sent again; a writable check guards the rare encoder that
// keeps a reference.
void VideoEncoder::RepeatFrame() {
  State& s = *state_;
  if (s.frames == 0) throw EncodeError("no picture to repeat");
  if (!av_frame_is_writable(s.picture)) Check(av_frame_make_writable(s.picture), "picture buffer");
  s.picture->pts = s.frames++;
  s.Send(s.video, s.video_stream, s.picture);
}

void VideoEncoder::AddSound(std::span<const std::int16_t> samples) {
  State& s = *state_;
  s.pending_sound.insert(s.pending_sound.end(), samples.begin(), samples.end());
  const int frame_size = s.audio->frame_size > 0 ? s.audio->frame_size : 1024;
  const std::size_t chunk = std::size_t(frame_size) * s.settings.channels;
  std::size_t used = 0;
  for (; s.pending_sound.size() - used >= chunk; used += chunk) {
    s.EncodeSoundFrame(s.pending_sound.data() + used, frame_size);
  }
  s.pending_sound.erase(s.pending_sound.begin(), s.pending_sound.begin() + std::ptrdiff_t(used));
}

void VideoEncoder::Finish() {
  State& s = *state_;
  if (s.finished) return;
  if (!s.pending_sound.empty()) {
    // The last stretch is padded with silence to a whole frame, which every encoder takes.
    const int frame_size = s.audio->frame_size > 0 ? s.audio->frame_size : 1024;
    s.pending_sound.resize(std::size_t(frame_size) * s.settings.channels, 0);
    s.EncodeSoundFrame(s.pending_sound.data(), frame_size);
    s.pending_sound.clear();
  }
  s.Send(s.video, s.video_stream, nullptr);
  s.Send(s.audio, s.audio_stream, nullptr);
  Check(av_write_trailer(s.format), "cannot finish '" + s.settings.path + "'");
  avio_closep(&s.format->pb);
  s.file_open = false;
  if (std::rename(s.temporary_path.c_str(), s.settings.path.c_str()) != 0) {
    std::remove(s.temporary_path.c_str());
    throw EncodeError("cannot write '" + s.settings.path + "'");
  }
  s.finished = true;
}

std::int64_t VideoEncoder::FramesWritten() const {
  return state_->frames;
}

std::string VideoEncoder::VideoCodecName() const {
  return state_->video->codec->name;
}

std::string VideoEncoder::AudioCodecName() const {
  return state_->audio->codec->name;
}

}  // namespace rirerazo::render

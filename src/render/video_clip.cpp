#include "render/video_clip.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace rirerazo::render {
namespace {

// One opened stream of a file with its decoder; frees both.
struct StreamReader {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = av_packet_alloc();
  int stream = -1;
  bool draining = false;  // the file is read to its end; the decoder gives what it holds

  ~StreamReader() {
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }

  // Opens the best stream of `type`; false when the file or the stream cannot be decoded.
  bool Open(const std::string& file, AVMediaType type) {
    if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) return false;
    if (avformat_find_stream_info(format, nullptr) < 0) return false;
    const AVCodec* decoder = nullptr;
    stream = av_find_best_stream(format, type, -1, -1, &decoder, 0);
    if (stream < 0 || decoder == nullptr) return false;
    codec = avcodec_alloc_context3(decoder);
    if (avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) < 0) return false;
    codec->thread_count = 1;
    return avcodec_open2(codec, decoder, nullptr) >= 0;
  }

  // The next decoded frame of the stream into `frame`; false at the end or on an error.
  bool Next(AVFrame* frame) {
    while (true) {
      const int received = avcodec_receive_frame(codec, frame);
      if (received == 0) return true;
      if (received != AVERROR(EAGAIN) || draining) return false;
      if (av_read_frame(format, packet) < 0) {
        draining = true;
        avcodec_send_packet(codec, nullptr);
        continue;
      }
      // A damaged packet is skipped; the decoder resumes at the next one it can read.
      if (packet->stream_index == stream) avcodec_send_packet(codec, packet);
      av_packet_unref(packet);
    }
  }

  AVStream* Stream() const { return format->streams[stream]; }
};

// The whole sound of `file` as interleaved 16-bit samples in `to`; empty without sound.
std::vector<std::int16_t> DecodeSound(const std::string& file, desktop::PcmFormat to) {
  std::vector<std::int16_t> samples;
  StreamReader reader;
  if (!reader.Open(file, AVMEDIA_TYPE_AUDIO)) return samples;
  AVChannelLayout out_layout;
  av_channel_layout_default(&out_layout, to.channels);
  SwrContext* resampler = nullptr;
  if (swr_alloc_set_opts2(&resampler, &out_layout, AV_SAMPLE_FMT_S16, to.sample_rate_hz,
                          &reader.codec->ch_layout, reader.codec->sample_fmt,
                          reader.codec->sample_rate, 0, nullptr) < 0 ||
      swr_init(resampler) < 0) {
    swr_free(&resampler);
    return samples;
  }
  AVFrame* frame = av_frame_alloc();
  auto convert = [&](const std::uint8_t** in, int in_count) {
    const int room = swr_get_out_samples(resampler, in_count);
    if (room <= 0) return;
    const std::size_t at = samples.size();
    samples.resize(at + std::size_t(room) * to.channels);
    std::uint8_t* out[] = {reinterpret_cast<std::uint8_t*>(samples.data() + at)};
    const int made = swr_convert(resampler, out, room, in, in_count);
    samples.resize(at + std::size_t(std::max(made, 0)) * to.channels);
  };
  while (reader.Next(frame)) {
    convert(const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
    av_frame_unref(frame);
  }
  convert(nullptr, 0);  // what the resampler still holds
  av_frame_free(&frame);
  swr_free(&resampler);
  return samples;
}

// The scaler takes the full-range ("J") formats of Motion-JPEG as their plain formats with
// the range given apart.
AVPixelFormat PlainFormat(AVPixelFormat format, bool& full_range) {
  switch (format) {
    case AV_PIX_FMT_YUVJ420P:
      full_range = true;
      return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
      full_range = true;
      return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
      full_range = true;
      return AV_PIX_FMT_YUV444P;
    default:
      return format;
  }
}

}  // namespace

struct VideoClip::Decoder {
  StreamReader reader;
  AVFrame* current = av_frame_alloc();
  AVFrame* ahead = av_frame_alloc();
  bool has_current = false;
  bool has_ahead = false;
  std::int64_t current_ms = 0;
  std::int64_t ahead_ms = 0;
  std::int64_t frames_read = 0;  // for pictures without a time stamp
  SwsContext* scaler = nullptr;
  QImage picture;
  bool converted = false;
  std::vector<std::int16_t> sound;

  ~Decoder() {
    sws_freeContext(scaler);
    av_frame_free(&current);
    av_frame_free(&ahead);
  }

  std::int64_t StartTs() const {
    const std::int64_t start = reader.Stream()->start_time;
    return start == AV_NOPTS_VALUE ? 0 : start;
  }

  // When the picture in `frame` is due, from the start of the clip.
  std::int64_t TimeMs(const AVFrame* frame) const {
    const AVStream* stream = reader.Stream();
    if (frame->best_effort_timestamp == AV_NOPTS_VALUE) {
      const AVRational rate =
          av_guess_frame_rate(reader.format, const_cast<AVStream*>(stream), nullptr);
      if (rate.num <= 0) return 0;
      return av_rescale(frames_read - 1, 1000LL * rate.den, rate.num);
    }
    return av_rescale_q(frame->best_effort_timestamp - StartTs(), stream->time_base, {1, 1000});
  }

  void ReadAhead() {
    has_ahead = reader.Next(ahead);
    if (!has_ahead) return;
    ++frames_read;
    ahead_ms = TimeMs(ahead);
  }

  // Back to the key picture at or before `position_ms`, to decode forward from there.
  void Rewind(std::int64_t position_ms) {
    const std::int64_t target =
        av_rescale_q(position_ms, {1, 1000}, reader.Stream()->time_base) + StartTs();
    if (av_seek_frame(reader.format, reader.stream, target, AVSEEK_FLAG_BACKWARD) < 0) {
      av_seek_frame(reader.format, reader.stream, StartTs(), AVSEEK_FLAG_BACKWARD);
    }
    avcodec_flush_buffers(reader.codec);
    reader.draining = false;
    frames_read = 0;
    av_frame_unref(ahead);
    ReadAhead();
  }
};

std::unique_ptr<VideoClip> VideoClip::Open(const std::string& file,
                                           desktop::PcmFormat sound_format) {
  auto decoder = std::make_unique<Decoder>();
  if (!decoder->reader.Open(file, AVMEDIA_TYPE_VIDEO)) return nullptr;
  const AVCodecContext* codec = decoder->reader.codec;
  if (codec->width <= 0 || codec->height <= 0) return nullptr;
  decoder->ReadAhead();
  if (!decoder->has_ahead) return nullptr;  // not one picture can be decoded
  decoder->picture = QImage(codec->width, codec->height, QImage::Format_RGB32);
  decoder->picture.fill(Qt::black);
  decoder->sound = DecodeSound(file, sound_format);
  return std::unique_ptr<VideoClip>(new VideoClip(std::move(decoder)));
}

VideoClip::VideoClip(std::unique_ptr<Decoder> decoder) : decoder_(std::move(decoder)) {}

VideoClip::~VideoClip() = default;

QSize VideoClip::Size() const {
  return decoder_->picture.size();
}

bool VideoClip::SeekTo(std::int64_t position_ms) {
  Decoder& d = *decoder_;
  if (d.has_current && position_ms < d.current_ms) {
    d.Rewind(position_ms);
    d.has_current = false;
  }
  bool changed = false;
  while (d.has_ahead && (!d.has_current || d.ahead_ms <= position_ms)) {
    std::swap(d.current, d.ahead);
    av_frame_unref(d.ahead);
    d.current_ms = d.ahead_ms;
    d.has_current = changed = true;
    d.ReadAhead();
  }
  if (changed) d.converted = false;
  return changed;
}

const QImage& VideoClip::Picture() {
  Decoder& d = *decoder_;
  if (!d.has_current || d.converted) return d.picture;
  const AVFrame* frame = d.current;
  bool full_range = frame->color_range == AVCOL_RANGE_JPEG;
  const AVPixelFormat format = PlainFormat(AVPixelFormat(frame->format), full_range);
  d.scaler = sws_getCachedContext(d.scaler, frame->width, frame->height, format, d.picture.width(),
                                  d.picture.height(), AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr,
                                  nullptr, nullptr);
  if (d.scaler != nullptr) {
    const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
    sws_setColorspaceDetails(d.scaler, coefficients, full_range ? 1 : 0, coefficients, 1, 0,
                             1 << 16, 1 << 16);
    std::uint8_t* planes[] = {d.picture.bits()};
    const int strides[] = {int(d.picture.bytesPerLine())};
    sws_scale(d.scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
  }
  d.converted = true;
  return d.picture;
}

const std::vector<std::int16_t>& VideoClip::Sound() const {
  return decoder_->sound;
}

}  // namespace rirerazo::render

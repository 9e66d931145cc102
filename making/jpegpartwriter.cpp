#include "making/jpegpartwriter.h"

#include <QCoreApplication>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include "pages/jpegerrors.h"

// After jpeglib.h, which it needs.
#include <jerror.h>

#ifdef QUIREVALE_HAVE_JPEG_GEN_OPTIMAL_TABLE
// libjpeg's optimal Huffman table for a count of each symbol (exported by
// the library since its first versions, declared only in its private
// headers, so found by the build): the table its own two-pass optimization
// makes from the counts.
extern "C" void jpeg_gen_optimal_table(j_compress_ptr cinfo, JHUFF_TBL *htbl, long freq[]);
#endif

namespace {

using Turn = JpegPartWriter::Turn;

// The compressed part written straight into a byte array.
struct ByteArrayDestination
{
    jpeg_destination_mgr base;
    QByteArray bytes;
    static constexpr int Step = 1 << 20;

    explicit ByteArrayDestination(j_compress_ptr info)
    {
        base.init_destination = [](j_compress_ptr info) {
            grow(info, 0);
        };
        base.empty_output_buffer = [](j_compress_ptr info) {
            grow(info, of(info)->bytes.size());
            return boolean(TRUE);
        };
        base.term_destination = [](j_compress_ptr info) {
            ByteArrayDestination *self = of(info);
            self->bytes.truncate(self->bytes.size() - int(self->base.free_in_buffer));
        };
        info->dest = &base;
    }
    static ByteArrayDestination *of(j_compress_ptr info)
    {
        return reinterpret_cast<ByteArrayDestination *>(info->dest);
    }
    // The whole array is handed over again, from where it was full.
    // Nothing may throw through libjpeg's frames: a failed allocation is
    // libjpeg's own error, raised once the exception is caught.
    static void grow(j_compress_ptr info, int used)
    {
        ByteArrayDestination *self = of(info);
        bool grown = used < std::numeric_limits<int>::max() - Step;
        try {
            if (grown)
                self->bytes.resize(used + Step);
        } catch (const std::bad_alloc &) {
            grown = false;
        }
        if (!grown)
            ERREXIT(info, JERR_OUT_OF_MEMORY);
        self->base.next_output_byte = reinterpret_cast<JOCTET *>(self->bytes.data()) + used;
        self->base.free_in_buffer = size_t(Step);
    }
};

// For each of a block's 64 coefficients (in natural order, row by row), the
// source coefficient it comes from and its sign: a transpose swaps a block's
// rows and columns, a mirror negates its odd frequencies along that axis.
class CoefficientMap
{
public:
    explicit CoefficientMap(const Turn &turn)
        : m_transposed(turn.transposes())
    {
        const bool mirrorX = turn.mirrorsX();
        const bool mirrorY = turn.mirrorsY();
        m_identity = !m_transposed && !mirrorX && !mirrorY;
        for (int v = 0; v < DCTSIZE; ++v) {
            for (int u = 0; u < DCTSIZE; ++u) {
                const int k = v * DCTSIZE + u;
                m_from[k] = m_transposed ? u * DCTSIZE + v : k;
                m_sign[k] = ((mirrorX && (u & 1)) != (mirrorY && (v & 1))) ? -1 : 1;
            }
        }
    }

    void apply(const JCOEF *source, JCOEF *block) const
    {
        if (m_identity) {
            std::copy(source, source + DCTSIZE2, block);
        } else if (!m_transposed) {
            for (int k = 0; k < DCTSIZE2; ++k)
                block[k] = JCOEF(source[k] * m_sign[k]);
        } else {
            for (int k = 0; k < DCTSIZE2; ++k)
                block[k] = JCOEF(source[m_from[k]] * m_sign[k]);
        }
    }

private:
    bool m_transposed;
    bool m_identity;
    int m_from[DCTSIZE2];
    JCOEF m_sign[DCTSIZE2];
};

int roundUp(int value, int step)
{
    return (value + step - 1) / step * step;
}

// One component's blocks as rows, all of them in memory: libjpeg-turbo
// keeps a virtual array whole (it has no backing store), so a row's
// address stays good once asked for.
void rowsOf(j_common_ptr info, jvirt_barray_ptr array, int count, bool writable,
            std::vector<JBLOCKROW> *rows)
{
    rows->resize(size_t(count));
    for (int row = 0; row < count; ++row)
        (*rows)[size_t(row)] = (*info->mem->access_virt_barray)(info, array, JDIMENSION(row), 1,
                                                                writable ? TRUE : FALSE)[0];
}

// A block's coefficients in the order they are coded.
constexpr int Zigzag[DCTSIZE2] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                  35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                  58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Where each coefficient falls in that order.
struct ZigzagPositions
{
    int of[DCTSIZE2];
    constexpr ZigzagPositions()
        : of()
    {
        for (int k = 0; k < DCTSIZE2; ++k)
            of[Zigzag[k]] = k;
    }
};
constexpr ZigzagPositions Positions;

// A bit for each coefficient that is not zero, in the block's own order.
quint64 nonZeroCoefficients(const JCOEF *block)
{
#ifdef __SSE2__
    quint64 mask = 0;
    const __m128i zero = _mm_setzero_si128();
    for (int row = 0; row < DCTSIZE; row += 2) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + row * DCTSIZE));
        const __m128i b =
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + (row + 1) * DCTSIZE));
        const __m128i zeros = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        mask |= quint64(~unsigned(_mm_movemask_epi8(zeros)) & 0xFFFFu) << (row * DCTSIZE);
    }
    return mask;
#else
    quint64 mask = 0;
    for (int k = 0; k < DCTSIZE2; ++k)
        mask |= quint64(block[k] != 0) << k;
    return mask;
#endif
}

int bitsOf(int value)
{
    const unsigned magnitude = unsigned(value < 0 ? -value : value);
    return magnitude ? qMin(15, 32 - __builtin_clz(magnitude)) : 0;
}

// How often each Huffman symbol is coded, counted while the blocks are laid
// out, so that the part is written with tables made for it in one pass:
// libjpeg's own optimization runs a second, slower pass over every block.
struct SymbolCounts
{
    long dc[NUM_HUFF_TBLS][257] = {};
    long ac[NUM_HUFF_TBLS][257] = {};
    // The widest DC difference and AC value met, in bits: a source whose
    // blocks step their DC up in many small differences can give a part
    // one whose first block's DC is more than 8-bit JPEG's 11 bits code.
    int widestDc = 0;
    int widestAc = 0;

    static constexpr int DcBits = 11;
    static constexpr int AcBits = 10;
    bool inRange() const { return widestDc <= DcBits && widestAc <= AcBits; }

    void add(const JCOEF *block, int *previousDc, long *dcCounts, long *acCounts)
    {
        const int dcBits = bitsOf(block[0] - *previousDc);
        widestDc = qMax(widestDc, dcBits);
        ++dcCounts[dcBits];
        *previousDc = block[0];
        // Most coefficients are zero: only the others are put in order.
        quint64 natural = nonZeroCoefficients(block) & ~quint64(1);
        quint64 nonZero = 0;
        while (natural) {
            nonZero |= quint64(1) << Positions.of[__builtin_ctzll(natural)];
            natural &= natural - 1;
        }
        int last = 0;
        while (nonZero) {
            const int k = __builtin_ctzll(nonZero);
            nonZero &= nonZero - 1;
            int run = k - last - 1;
            for (; run > 15; run -= 16)
                ++acCounts[0xF0];
            const int acBits = bitsOf(block[Zigzag[k]]);
            widestAc = qMax(widestAc, acBits);
            ++acCounts[(run << 4) + acBits];
            last = k;
        }
        if (last < DCTSIZE2 - 1)
            ++acCounts[0]; // end of block
    }

    // The encoder's own padding blocks, which repeat the last DC and have
    // no AC, code a DC difference counted in another order than here: every
    // DC size, and the end of block, keeps a code.
    void setTables(j_compress_ptr out)
    {
#ifdef QUIREVALE_HAVE_JPEG_GEN_OPTIMAL_TABLE
        bool used[NUM_HUFF_TBLS][2] = {};
        for (int c = 0; c < out->num_components; ++c) {
            used[out->comp_info[c].dc_tbl_no][0] = true;
            used[out->comp_info[c].ac_tbl_no][1] = true;
        }
        for (int t = 0; t < NUM_HUFF_TBLS; ++t) {
            if (used[t][0]) {
                for (int size = 0; size <= 11; ++size)
                    dc[t][size] = qMax(dc[t][size], 1L);
                jpeg_gen_optimal_table(out, out->dc_huff_tbl_ptrs[t], dc[t]);
            }
            if (used[t][1]) {
                ac[t][0] = qMax(ac[t][0], 1L);
                jpeg_gen_optimal_table(out, out->ac_huff_tbl_ptrs[t], ac[t]);
            }
        }
#else
        // libjpeg counts the symbols itself, in a second pass.
        out->optimize_coding = TRUE;
#endif
    }
};

// Writes one region of the turned page from the source's coefficients:
// the settings that decide the coefficients' meaning are the source's
// (turned with it), the Huffman tables are made for this part alone.
class RegionWriter
{
public:
    RegionWriter(j_decompress_ptr source, jvirt_barray_ptr *sourceBlocks, const Turn &turn,
                 bool grey)
        : m_source(source)
        , m_sourceBlocks(sourceBlocks)
        , m_turn(turn)
        , m_map(turn)
        , m_grey(grey)
    {}

    // libjpeg's errors jump back over this to the caller: what needs
    // freeing belongs to the writer, made before the jump's landing. False
    // when the part's coefficients are beyond what its JPEG could code.
    bool write(j_compress_ptr out, const QRect &region, const QByteArray &iccProfile)
    {
        jpeg_copy_critical_parameters(m_source, out);
        out->image_width = JDIMENSION(region.width());
        out->image_height = JDIMENSION(region.height());
        if (m_grey) {
            // Only the luma is kept, with its own quantization table.
            const int table = out->comp_info[0].quant_tbl_no;
            jpeg_set_colorspace(out, JCS_GRAYSCALE);
            out->comp_info[0].quant_tbl_no = table;
        }
        if (m_turn.transposes())
            transposeSettings(out);
        const Grid grid(out, region);
        jvirt_barray_ptr blocks[MAX_COMPONENTS] = {};
        for (int c = 0; c < out->num_components; ++c)
            blocks[c] = (*out->mem->request_virt_barray)(
                reinterpret_cast<j_common_ptr>(out), JPOOL_IMAGE, FALSE,
                JDIMENSION(grid.across * out->comp_info[c].h_samp_factor),
                JDIMENSION(grid.down * out->comp_info[c].v_samp_factor),
                JDIMENSION(out->comp_info[c].v_samp_factor));
        (*out->mem->realize_virt_arrays)(reinterpret_cast<j_common_ptr>(out));
        m_counts = SymbolCounts();
        for (int c = 0; c < out->num_components; ++c)
            fill(out->comp_info[c], c, region, grid, blocks[c], out);
        if (!m_counts.inRange()) {
            jpeg_abort_compress(out);
            return false;
        }
        m_counts.setTables(out);
        jpeg_write_coefficients(out, blocks);
        if (!iccProfile.isEmpty())
            jpeg_write_icc_profile(out, reinterpret_cast<const JOCTET *>(iccProfile.constData()),
                                   unsigned(iccProfile.size()));
        jpeg_finish_compress(out);
        return true;
    }

private:
    // The part's MCUs: their size in pixels and how many there are.
    struct Grid
    {
        QSize most; // the largest sampling factors: an MCU is this many blocks
        int across;
        int down;

        Grid(j_compress_ptr out, const QRect &region)
            : most(1, 1)
        {
            for (int c = 0; c < out->num_components; ++c)
                most = most.expandedTo(
                    QSize(out->comp_info[c].h_samp_factor, out->comp_info[c].v_samp_factor));
            across = roundUp(region.width(), most.width() * DCTSIZE) / (most.width() * DCTSIZE);
            down = roundUp(region.height(), most.height() * DCTSIZE) / (most.height() * DCTSIZE);
        }
        // A component's blocks across a length of pixels, as libjpeg counts
        // them: those its pixels fall in.
        static int blocksFor(int pixels, int sampling, int most)
        {
            const int samples = int((qint64(pixels) * sampling + most - 1) / most);
            return (samples + DCTSIZE - 1) / DCTSIZE;
        }
    };

    static void transposeSettings(j_compress_ptr out)
    {
        for (int c = 0; c < out->num_components; ++c)
            std::swap(out->comp_info[c].h_samp_factor, out->comp_info[c].v_samp_factor);
        for (JQUANT_TBL *table : out->quant_tbl_ptrs) {
            if (!table)
                continue;
            for (int i = 0; i < DCTSIZE; ++i) {
                for (int j = 0; j < i; ++j)
                    std::swap(table->quantval[i * DCTSIZE + j], table->quantval[j * DCTSIZE + i]);
            }
        }
    }

    // Every block of component c of the region, from the source's block it
    // shows after the turn.
    void fill(const jpeg_component_info &target, int c, const QRect &region, const Grid &grid,
              jvirt_barray_ptr blocks, j_compress_ptr out)
    {
        const jpeg_component_info &from = m_source->comp_info[c];
        const int across = grid.across * target.h_samp_factor;
        const int down = grid.down * target.v_samp_factor;
        // The region's corner, on the grid, in this component's blocks.
        const int left = region.x() * target.h_samp_factor / (grid.most.width() * DCTSIZE);
        const int top = region.y() * target.v_samp_factor / (grid.most.height() * DCTSIZE);
        // The source's blocks: those of the picture, and the rows and
        // columns libjpeg keeps to fill its last MCUs.
        const int sourceWidth = int(from.width_in_blocks);
        const int sourceHeight = int(from.height_in_blocks);
        const int sourceColumns = roundUp(sourceWidth, from.h_samp_factor);
        const int sourceRows = roundUp(sourceHeight, from.v_samp_factor);
        rowsOf(reinterpret_cast<j_common_ptr>(m_source), m_sourceBlocks[c], sourceRows, false,
               &m_in);
        rowsOf(reinterpret_cast<j_common_ptr>(out), blocks, down, true, &m_out);
        const bool transposed = m_turn.transposes();
        // After the transpose, before the mirrors: the size in blocks.
        const int width = transposed ? sourceHeight : sourceWidth;
        const int height = transposed ? sourceWidth : sourceHeight;
        const bool mirrorX = m_turn.mirrorsX();
        const bool mirrorY = m_turn.mirrorsY();
        const int codedAcross =
            Grid::blocksFor(region.width(), target.h_samp_factor, grid.most.width());
        const int codedDown =
            Grid::blocksFor(region.height(), target.v_samp_factor, grid.most.height());
        long *dcCounts = m_counts.dc[target.dc_tbl_no];
        long *acCounts = m_counts.ac[target.ac_tbl_no];
        int previousDc = 0;
        for (int y = 0; y < down; ++y) {
            for (int x = 0; x < across; ++x) {
                const int turnedX = mirrorX ? width - 1 - (left + x) : left + x;
                const int turnedY = mirrorY ? height - 1 - (top + y) : top + y;
                const int sx = transposed ? turnedY : turnedX;
                const int sy = transposed ? turnedX : turnedY;
                JCOEF *block = m_out[size_t(y)][x];
                if (sx < 0 || sy < 0 || sx >= sourceColumns || sy >= sourceRows) {
                    std::fill(block, block + DCTSIZE2, JCOEF(0));
                    continue;
                }
                m_map.apply(m_in[size_t(sy)][sx], block);
                if (x < codedAcross && y < codedDown)
                    m_counts.add(block, &previousDc, dcCounts, acCounts);
            }
        }
    }

    j_decompress_ptr m_source;
    jvirt_barray_ptr *m_sourceBlocks;
    Turn m_turn;
    CoefficientMap m_map;
    bool m_grey;
    SymbolCounts m_counts;
    std::vector<JBLOCKROW> m_in;
    std::vector<JBLOCKROW> m_out;
};

} // namespace

JpegPartWriter::JpegPartWriter(std::shared_ptr<const JpegCheck::Blocks> blocks, const Turn &turn,
                               bool grey)
    : m_blocks(std::move(blocks))
    , m_turn(turn)
    , m_grey(grey)
{}

namespace {
// Everything one writing of parts holds, on the heap: libjpeg's jump back
// finds it as it was.
struct PartsJob
{
    JpegErrors manager;
    jpeg_compress_struct out;
    std::unique_ptr<ByteArrayDestination> destination;
    std::unique_ptr<RegionWriter> writer;
    QList<QByteArray> pages;
    bool outOfRange = false;
};

// setjmp sits in a function whose locals are all plain: what libjpeg
// jumps back over leaves nothing here half made or unknown.
bool writeParts(PartsJob *job, const QList<QRect> *regions, const QByteArray *iccProfile)
{
    if (setjmp(job->manager.escape))
        return false;
    for (int i = 0; i < regions->size(); ++i) {
        if (!job->writer->write(&job->out, regions->at(i), *iccProfile)) {
            job->outOfRange = true;
            return false;
        }
        job->pages.append(job->destination->bytes);
        job->destination->bytes.clear();
    }
    return true;
}
} // namespace

QList<QByteArray> JpegPartWriter::write(const QList<QRect> &regions, const QByteArray &iccProfile,
                                        QString *error) const
{
    j_decompress_ptr source = m_blocks->decompressor();
    auto job = std::make_unique<PartsJob>();
    job->out.err = job->manager.install(false);
    // An error while the source's blocks are read comes back here too.
    jpeg_error_mgr *sourceErrors = source->err;
    source->err = &job->manager.base;
    jpeg_create_compress(&job->out);
    job->destination = std::make_unique<ByteArrayDestination>(&job->out);
    job->writer = std::make_unique<RegionWriter>(source, m_blocks->arrays(), m_turn, m_grey);
    const bool written = writeParts(job.get(), &regions, &iccProfile);
    jpeg_destroy_compress(&job->out);
    source->err = sourceErrors;
    if (!written) {
        *error = job->outOfRange
                     ? QCoreApplication::translate("JpegPartWriter",
                                                   "its blocks' values are beyond what a part "
                                                   "of it could code")
                     : job->manager.fatal;
        return QList<QByteArray>();
    }
    return job->pages;
}

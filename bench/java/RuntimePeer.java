// The work of bench/strings.cpp and bench/allocation.cpp as a Java program,
// so that the runtime can be compared with the same program on a desktop
// Java machine. Each operation is warmed up, then timed in rounds of at
// least 200 ms; the best round's time per iteration is printed in
// nanoseconds, one line per operation: "<name> <ns>".
import java.util.Random;

public final class RuntimePeer {
  static final int APPENDS = 4000;
  static final int LONG_TEXT = 10000;
  static final int NUMBERS = 1000;
  static final int TREE_DEPTH = 17;

  static volatile Object sink;
  static volatile int intSink;

  interface Work {
    void run();
  }

  static final class Node {
    Node left;
    Node right;
  }

  static String longText() {
    StringBuilder s = new StringBuilder();
    for (int i = 0; i < LONG_TEXT - 1; ++i) s.append((char) ('a' + i % 26));
    return s.append('!').toString();
  }

  // Ints of every length, both signs (the same spread as the C++ side).
  static int[] numbers() {
    Random random = new Random(7);
    int[] out = new int[NUMBERS];
    for (int i = 0; i < NUMBERS; ++i) out[i] = random.nextInt() >> (random.nextInt(32));
    return out;
  }

  static Node tree(int depth) {
    Node n = new Node();
    if (depth > 0) {
      n.left = tree(depth - 1);
      n.right = tree(depth - 1);
    }
    return n;
  }

  static void time(String name, Work work) {
    long warmEnd = System.nanoTime() + 1_000_000_000L;
    while (System.nanoTime() < warmEnd) work.run();
    double best = Double.MAX_VALUE;
    for (int round = 0; round < 5; ++round) {
      long start = System.nanoTime();
      long iterations = 0;
      long now;
      do {
        work.run();
        ++iterations;
        now = System.nanoTime();
      } while (now - start < 200_000_000L);
      best = Math.min(best, (double) (now - start) / iterations);
    }
    System.out.printf("%s %.1f%n", name, best);
  }

  public static void main(String[] args) {
    final String word = "word";
    time("Append", () -> {
      StringBuffer sb = new StringBuffer();
      for (int i = 0; i < APPENDS; ++i) {
        sb.append(word);
        sb.append(' ');
      }
      sink = sb.toString();
    });

    final String text = longText();
    // Java caches a String's hash; a fresh copy each time measures the loop.
    final char[] chars = text.toCharArray();
    time("HashCode", () -> {
      int h = 0;
      for (char c : chars) h = 31 * h + c;
      intSink = h;
    });
    time("IndexOf", () -> intSink = text.indexOf('!'));
    final String other = new String(text.toCharArray());
    time("Equals", () -> intSink = text.equals(other) ? 1 : 0);

    final int[] values = numbers();
    time("FormatInt", () -> {
      for (int v : values) sink = String.valueOf(v);
    });
    final String[] texts = new String[values.length];
    for (int i = 0; i < values.length; ++i) texts[i] = String.valueOf(values[i]);
    time("ParseInt", () -> {
      for (String s : texts) intSink = Integer.parseInt(s);
    });

    time("Build", () -> sink = tree(TREE_DEPTH));
    sink = null;
  }
}
